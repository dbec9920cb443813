#include "board/desk_state.h"
#include "ordering/orders.h"
#include "store/sqlite_db.h"
#include "support/fixtures.h"
#include "support/testkit.h"

#include <QTest>

namespace {

const QString Refuse0
    = QStringLiteral("不能更改状态，已开台和预订的桌位不能设置空闲，如需设置请结算消台");
const QString Refuse1 = QStringLiteral("开台失败，当前状态下不能开台");
const QString Refuse3 = QStringLiteral("预订失败，当前状态下不能预订");

} // namespace

class TestDeskState : public QObject
{
    Q_OBJECT

private slots:
    void transitions_data()
    {
        QTest::addColumn<QString>("current"); // "null" for an empty status
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QString>("refusal"); // empty: saved

        const QStringList all{"0", "null", "1", "3", "5", "7", "9"};
        for (const QString &c : all) {
            const bool free = c == "0" || c == "null";
            const bool taken = c == "1" || c == "3";
            QTest::addRow("%s to free", qPrintable(c)) << c << 0 << (free ? "" : Refuse0);
            QTest::addRow("%s to open", qPrintable(c)) << c << 1 << (free || taken ? "" : Refuse1);
            QTest::addRow("%s to reserved", qPrintable(c))
                << c << 3 << (free || taken ? "" : Refuse3);
        }
    }

    void transitions()
    {
        QFETCH(QString, current);
        QFETCH(int, chosen);
        QFETCH(QString, refusal);

        TestProgram p;
        const bool wasFree = current == "0" || current == "null";
        p.exec(QString("INSERT INTO lumo_desk(title,bh,stat,addtime,nums) VALUES('t','A1',%1,%2,2)")
                   .arg(current, wasFree ? "0" : "1000"));
        p.ctx.desk_id = p.scalar("SELECT max(id) FROM lumo_desk");
        const QString before = dump(p, "lumo_desk");

        const DeskStateResult r = save_desk_state(p.ctx, DeskStateForm{chosen, "", "", "2", ""});
        QCOMPARE(p.prompts->confirms, QStringList{"确认要保存吗"});
        if (!refusal.isEmpty()) {
            QCOMPARE(r.message, refusal);
            QVERIFY(!r.saved);
            QCOMPARE(dump(p, "lumo_desk"), before);
            QCOMPARE(p.scalar("SELECT count(*) FROM lumo_orders"), QString("0"));
            return;
        }
        QCOMPARE(r.message, QString("操作成功"));
        QVERIFY(r.saved);
        const QString now = QString::number(wall_ms(2024, 3, 5, 14, 7, 10) / 1000);
        // The opening time is set only when a free table is opened or reserved.
        const QString addtime = !wasFree ? "1000" : chosen == 0 ? "0" : now;
        QCOMPARE(p.scalar("SELECT stat||'|'||addtime FROM lumo_desk"),
                 QString::number(chosen) + "|" + addtime);
        if (chosen == 0) {
            QVERIFY(r.order_id.isEmpty());
            QCOMPARE(p.scalar("SELECT count(*) FROM lumo_orders"), QString("0"));
        } else {
            QCOMPARE(r.order_id, get_desk_order_id(p.ctx, p.ctx.desk_id));
            QCOMPARE(p.scalar("SELECT stat FROM lumo_orders"), QString::number(chosen));
        }
    }

    void depositAndGuests_data()
    {
        QTest::addColumn<QString>("yj");
        QTest::addColumn<QString>("nums");
        QTest::addColumn<QString>("stored"); // desk yj|order yj|desk nums|order nums

        QTest::newRow("plain") << "100"
                               << "4"
                               << "100.0|100|4|4";
        QTest::newRow("trimmed, leading zero") << " 12.5 "
                                               << " 04 "
                                               << "12.5|12.5|4|4";
        QTest::newRow("stored as a number") << "12.50"
                                            << "2"
                                            << "12.5|12.5|2|2";
        QTest::newRow("empty is 0") << ""
                                    << ""
                                    << "0.0|0|0|0";
        QTest::newRow("trailing point") << "5."
                                        << "1"
                                        << "5.0|5|1|1";
    }

    void depositAndGuests()
    {
        QFETCH(QString, yj);
        QFETCH(QString, nums);
        QFETCH(QString, stored);

        TestProgram p;
        // yj 7 and nums 9 so that "0" differs from the row and is written.
        p.exec("INSERT INTO lumo_desk(title,bh,stat,yj,nums) VALUES('t','A1',0,7,9)");
        p.ctx.desk_id = p.scalar("SELECT max(id) FROM lumo_desk");
        const DeskStateResult r = save_desk_state(p.ctx, DeskStateForm{1, "", yj, nums, ""});
        QVERIFY(r.saved);
        QCOMPARE(p.prompts->warnings, QStringList());
        QCOMPARE(p.scalar("SELECT d.yj||'|'||o.yj||'|'||d.nums||'|'||o.nums "
                          "FROM lumo_desk d, lumo_orders o"),
                 stored);
        QCOMPARE(p.scalar("SELECT typeof(yj) FROM lumo_desk"), QString("real"));
    }

    void notAnAmountIsRefused_data()
    {
        QTest::addColumn<QString>("yj");
        QTest::addColumn<QString>("nums");
        QTest::addColumn<QString>("refusal");

        const QString deposit = "押金请输入不小于0的数字，最多两位小数";
        const QString guests = "用餐人数请输入0到999的整数";
        QTest::newRow("lone point") << "."
                                    << "2" << deposit;
        QTest::newRow("two points") << "12.3.4"
                                    << "2" << deposit;
        QTest::newRow("negative deposit") << "-5"
                                          << "2" << deposit;
        QTest::newRow("exponent") << "1e3"
                                  << "2" << deposit;
        QTest::newRow("negative guests") << "10"
                                         << "-5" << guests;
        QTest::newRow("guests int max") << "10"
                                        << "2147483647" << guests;
        QTest::newRow("guests fraction") << "10"
                                         << "3.5" << guests;
    }

    void notAnAmountIsRefused()
    {
        QFETCH(QString, yj);
        QFETCH(QString, nums);
        QFETCH(QString, refusal);

        TestProgram p;
        p.exec("INSERT INTO lumo_desk(title,bh,stat,yj,nums) VALUES('t','A1',1,7,9)");
        p.ctx.desk_id = p.scalar("SELECT max(id) FROM lumo_desk");
        const QString before = dump(p, "lumo_desk");
        const DeskStateResult r = save_desk_state(p.ctx, DeskStateForm{1, "张三", yj, nums, ""});
        QVERIFY(!r.saved);
        QCOMPARE(r.message, refusal);
        QCOMPARE(p.prompts->confirms, QStringList());
        QCOMPARE(p.prompts->warnings, QStringList());
        QCOMPARE(dump(p, "lumo_desk"), before);
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_orders"), QString("0"));
    }

    void namesLoseSingleQuotes()
    {
        TestProgram p;
        p.exec("INSERT INTO lumo_desk(title,bh,stat) VALUES('t','A1',0)");
        p.ctx.desk_id = p.scalar("SELECT max(id) FROM lumo_desk");
        const DeskStateResult r
            = save_desk_state(p.ctx, DeskStateForm{1, " O'Brien ", "", "2", "D'Arcy'"});
        QVERIFY(r.saved);
        QCOMPARE(p.scalar("SELECT d.ydtruename||'|'||d.fwy||'|'||o.truename||'|'||o.fwy "
                          "FROM lumo_desk d, lumo_orders o"),
                 QString("OBrien|DArcy|OBrien|DArcy"));
    }

    void refusedBeforeWriting()
    {
        TestProgram p;
        p.exec("INSERT INTO lumo_desk(title,bh,stat) VALUES('t','A1',0)");

        // No current table: refused before the confirmation box.
        DeskStateResult r = save_desk_state(p.ctx, DeskStateForm{1, "", "", "2", ""});
        QCOMPARE(r.message, QString("还未选择桌号操作"));
        QCOMPARE(p.prompts->confirms, QStringList());

        p.ctx.desk_id = "999";
        r = save_desk_state(p.ctx, DeskStateForm{1, "", "", "2", ""});
        QCOMPARE(r.message, QString("还桌号不存在可能已删除"));

        p.ctx.desk_id = p.scalar("SELECT max(id) FROM lumo_desk");
        p.prompts->queue(false);
        r = save_desk_state(p.ctx, DeskStateForm{1, "", "", "2", ""});
        QVERIFY(!r.saved);
        QCOMPARE(r.message, QString());
        QCOMPARE(p.scalar("SELECT stat FROM lumo_desk"), QString("0"));
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_orders"), QString("0"));
    }

    void changedElsewhereSinceShown_data()
    {
        QTest::addColumn<QString>("shown"); // status the dialog showed; empty: not known
        QTest::addColumn<QString>("now");   // status another counter left meanwhile
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QString>("refusal"); // empty: saved

        const QString gone = "此桌位已在别处结算或消台，请核对后重新操作";
        const QString taken = "此桌位已在别处开台或预订，请核对后重新操作";
        QTest::newRow("open, settled elsewhere") << "1"
                                                 << "0" << 1 << gone;
        QTest::newRow("reserved, cleared elsewhere") << "3"
                                                     << "0" << 3 << gone;
        QTest::newRow("open, settled elsewhere, choosing free") << "1"
                                                                << "0" << 0 << gone;
        QTest::newRow("free, opened elsewhere") << "0"
                                                << "1" << 1 << taken;
        QTest::newRow("free, reserved elsewhere") << "0"
                                                  << "3" << 3 << taken;
        QTest::newRow("reserved, opened elsewhere") << "3"
                                                    << "1" << 1 << "";
        QTest::newRow("unchanged open") << "1"
                                        << "1" << 1 << "";
        QTest::newRow("not known") << ""
                                   << "1" << 1 << "";
    }

    void changedElsewhereSinceShown()
    {
        QFETCH(QString, shown);
        QFETCH(QString, now);
        QFETCH(int, chosen);
        QFETCH(QString, refusal);

        TestProgram p;
        const bool free = now == "0";
        p.exec(QString("INSERT INTO lumo_desk(title,bh,stat,addtime,nums,fwy) "
                       "VALUES('t','A1',%1,%2,%3,'%4')")
                   .arg(now, free ? "0" : "1000", free ? "0" : "6", free ? "" : "小李"));
        p.ctx.desk_id = p.scalar("SELECT max(id) FROM lumo_desk");
        if (!free)
            add_desk_order(p.ctx, "", "", "小李", "6"); // the other party's bill
        const QString desks = dump(p, "lumo_desk");
        const QString orders = dump(p, "lumo_orders");

        const DeskStateResult r = save_desk_state(
            p.ctx, p.ctx.desk_id, DeskStateForm{chosen, "张三", "", "2", "小王"}, shown);
        if (refusal.isEmpty()) {
            QVERIFY(r.saved);
            QCOMPARE(p.scalar("SELECT stat||'|'||nums||'|'||fwy FROM lumo_desk"),
                     QString::number(chosen) + "|2|小王");
            return;
        }
        QCOMPARE(r.message, refusal);
        QVERIFY(!r.saved);
        QVERIFY(r.stale);
        QCOMPARE(dump(p, "lumo_desk"), desks);
        QCOMPARE(dump(p, "lumo_orders"), orders);
    }

    void failingTableUpdateLeavesNoOrder()
    {
        TestProgram p;
        p.ctx.settings.cwf = "2.00";
        p.exec("INSERT INTO lumo_desk(title,bh,stat) VALUES('t','A1',0)");
        p.ctx.desk_id = p.scalar("SELECT max(id) FROM lumo_desk");
        p.exec("CREATE TRIGGER no_desk BEFORE UPDATE ON lumo_desk "
               "BEGIN SELECT RAISE(ABORT,'x'); END");
        QVERIFY_THROWS_EXCEPTION(ESQLiteException,
                                 save_desk_state(p.ctx, DeskStateForm{1, "", "", "4", ""}));
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_orders"), QString("0"));
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_orders_detail"), QString("0"));
    }
};

QTEST_GUILESS_MAIN(TestDeskState)
#include "tst_desk_state.moc"
