#include "board/transfer.h"
#include "ordering/orders.h"
#include "store/sqlite_db.h"
#include "support/fixtures.h"
#include "support/testkit.h"

#include <QTest>

namespace {

QString everything(const TestProgram &p)
{
    return dump(p, "lumo_desk") + "\n" + dump(p, "lumo_orders") + "\n"
           + dump(p, "lumo_orders_detail");
}

// Table 01 open for two guests with an open order of one line and a settled order
// of an earlier party; table 02 free.
QString seat_party(TestProgram &p)
{
    add_desks(p, 2);
    p.exec("UPDATE lumo_desk SET stat=1,nums=2,yj=50,fwy='小王',ydtruename='张三',addtime=1000,"
           "price='24.00' WHERE id=1");
    p.exec("INSERT INTO lumo_orders(title,deskid,iscal,stat) VALUES('earlier',1,1,9)");
    add_line(p, p.scalar("SELECT max(id) FROM lumo_orders"), "米饭", "2", "1", "9");
    const QString order = open_order(p, 1);
    add_line(p, order, "鱼香肉丝", "12", "2");
    return order;
}

} // namespace

class TestTransfer : public QObject
{
    Q_OBJECT

private slots:
    void movesTheOpenOrderAndLeavesSettledOnes()
    {
        TestProgram p;
        const QString order = seat_party(p);
        const TransferResult r = transfer_desk(p.ctx, "1", "2");
        QCOMPARE(r.outcome, TransferResult::Done);
        QCOMPARE(r.message, QString("转台成功"));
        QCOMPARE(p.prompts->confirms, QStringList{"确认要转到所选餐桌吗"});
        QCOMPARE(p.scalar("SELECT group_concat(id||':'||stat||','||nums||','||yj||','||fwy||','||"
                          "ydtruename||','||addtime||','||price, ' ') FROM lumo_desk"),
                 QString("1:0,0,0.0,,,0,0.00 2:1,2,50.0,小王,张三,1000,24.00"));
        QCOMPARE(p.scalar("SELECT deskid FROM lumo_orders WHERE id=" + order), QString("2"));
        // The earlier party's settled bill stays with the table it was paid at.
        QCOMPARE(p.scalar("SELECT deskid FROM lumo_orders WHERE title='earlier'"), QString("1"));
    }

    // A table cleared without lines keeps its empty open order for the next party; a
    // party moved onto it must still find its own bill there, the only open one.
    void ontoAClearedTable()
    {
        TestProgram p;
        const QString leftover = open_order(p, 2);
        const QString order = seat_party(p);
        QCOMPARE(transfer_desk(p.ctx, "1", "2").outcome, TransferResult::Done);
        QCOMPARE(get_desk_order_id(p.ctx, "2"), order);
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_orders WHERE iscal=0 AND deskid=2"),
                 QString("1"));
        // The empty one waits on the table left, for its next party.
        QCOMPARE(p.scalar("SELECT deskid FROM lumo_orders WHERE id=" + leftover), QString("1"));
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("ok"); // the confirmation's answer
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("message");

        QTest::newRow("no current table")
            << ""
            << "2" << true << "" << int(TransferResult::Refused) << "还未选择桌号操作";
        QTest::newRow("no target")
            << "1"
            << "" << true << "" << int(TransferResult::Refused) << "请选择一个空闲桌号";
        QTest::newRow("same table")
            << "1"
            << "1" << true << "" << int(TransferResult::Refused) << "当前桌号与目标桌号相同";
        QTest::newRow("cancelled") << "1"
                                   << "2" << false << "" << int(TransferResult::Cancelled) << "";
        QTest::newRow("target gone")
            << "1"
            << "2" << true << "DELETE FROM lumo_desk WHERE id=2" << int(TransferResult::Refused)
            << "目标桌号不存在，可能已删除";
        QTest::newRow("current gone")
            << "1"
            << "2" << true << "DELETE FROM lumo_desk WHERE id=1" << int(TransferResult::Refused)
            << "目标桌号不存在，可能已删除";
        for (const char *stat : {"1", "3", "5", "7"})
            QTest::addRow("target status %s", stat)
                << "1"
                << "2" << true << QString("UPDATE lumo_desk SET stat=%1 WHERE id=2").arg(stat)
                << int(TransferResult::Blocked) << "目标桌状态不能转台，请先确认目标桌是否空闲状态";
    }

    void refusals()
    {
        QFETCH(QString, current);
        QFETCH(QString, target);
        QFETCH(bool, ok);
        QFETCH(QString, meanwhile);
        QFETCH(int, outcome);
        QFETCH(QString, message);

        TestProgram p;
        seat_party(p);
        if (!meanwhile.isEmpty())
            p.exec(meanwhile);
        p.prompts->queue(ok);
        const QString before = everything(p);
        const TransferResult r = transfer_desk(p.ctx, current, target);
        QCOMPARE(int(r.outcome), outcome);
        QCOMPARE(r.message, message);
        QCOMPARE(everything(p), before);
        const bool asked = !current.isEmpty() && !target.isEmpty() && current != target;
        QCOMPARE(p.prompts->confirms, asked ? QStringList{"确认要转到所选餐桌吗"} : QStringList());
    }
};

QTEST_GUILESS_MAIN(TestTransfer)
#include "tst_transfer.moc"
