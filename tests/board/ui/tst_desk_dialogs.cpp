#include "app/ui/toast.h"
#include "board/ui/tform_desk_zhuantai.h"
#include "board/ui/tform_desk_zt.h"
#include "store/sqlite_db.h"
#include "support/fixtures.h"
#include "support/ui/guikit.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString Now = QString::number(wall_ms(2024, 3, 5, 14, 7, 10) / 1000);

QString everything(const TestProgram &p)
{
    return dump(p, "lumo_desk") + "\n" + dump(p, "lumo_orders") + "\n"
           + dump(p, "lumo_orders_detail");
}

QString desk_id(const TestProgram &p, const QString &bh)
{
    return p.scalar("SELECT id FROM lumo_desk WHERE bh='" + bh + "'");
}

template<class W> W *child(QWidget *dialog, const QString &name)
{
    W *w = dialog->findChild<W *>(name);
    if (!w)
        qFatal("no widget %s", qPrintable(name));
    return w;
}

// The table-state dialog, shown for the table numbered bh.
TForm_desk_zt *open_zt(GuiProgram &p, const QString &bh)
{
    TForm_desk_zt *d = p.forms->desk_zt;
    d->hide();
    d->open_with(
        desk_id(p, bh),
        p.scalar("SELECT id FROM lumo_orders WHERE iscal=0 AND deskid='" + desk_id(p, bh) + "'"));
    return d;
}

void fill(QWidget *d, const QString &name, const QString &text)
{
    child<QLineEdit>(d, name)->setText(text);
}

// Chooses the status and presses "确认保存".
void save_as(QWidget *d, int stat)
{
    GuiProgram::click(child<QRadioButton>(d, "Radio_stat_" + QString::number(stat)));
    GuiProgram::click(child<QPushButton>(d, "Button_save"));
}

QString toast_text(const GuiProgram &p)
{
    return p.forms->toast->text();
}

// A1 opened for 4 guests with a deposit of 100 and a fee of 2.00, through the dialog.
void open_a1(GuiProgram &p)
{
    p.exec("INSERT INTO lumo_desk(title,bh,stat,sort) VALUES('一号桌','A1',0,1)");
    p.ctx.settings.cwf = "2.00";
    TForm_desk_zt *d = open_zt(p, "A1");
    fill(d, "Edit_ydtruename", "张三");
    fill(d, "Edit_yj", "100");
    fill(d, "Edit_nums", "4");
    fill(d, "Edit_fwy", "小王");
    save_as(d, 1);
}

} // namespace

class TestDeskDialogs : public QObject
{
    Q_OBJECT

private slots:
    void openFreeTable()
    {
        GuiProgram p;
        p.exec("INSERT INTO lumo_desk(title,bh,stat,sort) VALUES('一号桌','A1',0,1)");
        TForm_desk_zt *d = open_zt(p, "A1");
        QCOMPARE(child<QLabel>(d, "Label_bh")->text(), QString("A1"));
        QCOMPARE(child<QLineEdit>(d, "Edit_nums")->text(), QString("0"));
        QVERIFY(child<QLineEdit>(d, "Edit_addtime")->isReadOnly());
        QVERIFY(child<QRadioButton>(d, "Radio_stat_0")->isChecked());
        p.exec("DELETE FROM lumo_desk");

        open_a1(p);
        QCOMPARE(p.prompts->confirms, QStringList{"确认要保存吗"});
        QCOMPARE(toast_text(p), QString("操作成功"));
        QCOMPARE(p.scalar("SELECT stat||'|'||nums||'|'||yj||'|'||fwy||'|'||ydtruename||'|'||addtime"
                          "||'|'||price FROM lumo_desk"),
                 "1|4|100.0|小王|张三|" + Now + "|8.00");
        QCOMPARE(p.scalar("SELECT stat||'|'||nums||'|'||yj||'|'||fwy||'|'||truename||'|'||iscal"
                          "||'|'||allprice||'|'||price||'|'||deskid FROM lumo_orders"),
                 "1|4|100|小王|张三|0|8.0|8.0|" + desk_id(p, "A1"));
        QCOMPARE(p.scalar("SELECT title||'|'||oneprice||'|'||quantity||'|'||price||'|'||stat "
                          "FROM lumo_orders_detail"),
                 QString("餐具|2.0|4|8.0|0"));

        // Shown again, the dialog reads the table back.
        d = open_zt(p, "A1");
        QCOMPARE(child<QLineEdit>(d, "Edit_addtime")->text(), QString("2024-03-05 14:07"));
        QCOMPARE(child<QLineEdit>(d, "Edit_yj")->text(), QString("100.0"));
        QVERIFY(child<QRadioButton>(d, "Radio_stat_1")->isChecked());

        // Without a table the fields are emptied.
        d->hide();
        d->open_with(QString(), QString());
        QCOMPARE(child<QLineEdit>(d, "Edit_fwy")->text(), QString());
        QCOMPARE(child<QLineEdit>(d, "Edit_nums")->text(), QString());
    }

    void everyOpeningStartsInTheFirstField()
    {
        GuiProgram p;
        p.exec("INSERT INTO lumo_desk(title,bh,stat,sort) VALUES('一号桌','A1',0,1)");
        TForm_desk_zt *d = open_zt(p, "A1");
        QCOMPARE(d->focusWidget(), child<QLineEdit>(d, "Edit_ydtruename"));
        child<QLineEdit>(d, "Edit_fwy")->setFocus();
        QCOMPARE(d->focusWidget(), child<QLineEdit>(d, "Edit_fwy"));
        d = open_zt(p, "A1"); // hidden and shown again
        QCOMPARE(d->focusWidget(), child<QLineEdit>(d, "Edit_ydtruename"));
        child<QLineEdit>(d, "Edit_nums")->setFocus();
        d->open_with(desk_id(p, "A1"), QString()); // still open, opened again from the board
        QCOMPARE(d->focusWidget(), child<QLineEdit>(d, "Edit_ydtruename"));
    }

    void saveAgainWritesOnlyChangedFields()
    {
        GuiProgram p;
        open_a1(p);
        // Markers the save must leave alone: the order's name and guest count differ
        // from the table's, so writing unchanged fields would overwrite them.
        p.exec("UPDATE lumo_orders SET truename='marker',nums=77");
        TForm_desk_zt *d = open_zt(p, "A1");
        fill(d, "Edit_fwy", "小李");
        fill(d, "Edit_nums", "4");
        const QString before = everything(p);
        save_as(d, 1);
        QCOMPARE(toast_text(p), QString("操作成功"));
        QCOMPARE(p.scalar("SELECT d.fwy||'|'||o.fwy FROM lumo_desk d, lumo_orders o"),
                 QString("小李|小李"));
        // Put the waiter back: then nothing else may differ.
        p.exec("UPDATE lumo_desk SET fwy='小王'");
        p.exec("UPDATE lumo_orders SET fwy='小王'");
        QCOMPARE(everything(p), before);
    }

    void freeingAnOpenTableIsRefused()
    {
        GuiProgram p;
        open_a1(p);
        TForm_desk_zt *d = open_zt(p, "A1");
        const QString before = everything(p);
        save_as(d, 0);
        QCOMPARE(toast_text(p),
                 QString("不能更改状态，已开台和预订的桌位不能设置空闲，如需设置请结算消台"));
        QCOMPARE(everything(p), before);
    }

    void notAnAmountIsRefused_data()
    {
        QTest::addColumn<QString>("yj");
        QTest::addColumn<QString>("nums");
        QTest::addColumn<QString>("toast");
        const QString deposit = "押金请输入不小于0的数字，最多两位小数";
        QTest::newRow("two points") << "12.3.4"
                                    << "2" << deposit;
        QTest::newRow("letters") << "abc"
                                 << "2" << deposit;
        QTest::newRow("lone point") << "."
                                    << "2" << deposit;
        QTest::newRow("negative guests") << "5"
                                         << "-5"
                                         << "用餐人数请输入0到999的整数";
    }

    void notAnAmountIsRefused()
    {
        QFETCH(QString, yj);
        QFETCH(QString, nums);
        QFETCH(QString, toast);
        GuiProgram p;
        p.exec("INSERT INTO lumo_desk(title,bh,stat,yj) VALUES('t','A1',0,5)");
        TForm_desk_zt *d = open_zt(p, "A1");
        fill(d, "Edit_yj", yj);
        fill(d, "Edit_nums", nums);
        const QString before = everything(p);
        save_as(d, 1);
        QCOMPARE(toast_text(p), toast);
        QCOMPARE(p.prompts->confirms, QStringList());
        QCOMPARE(p.prompts->warnings, QStringList());
        QCOMPARE(everything(p), before);
        // What was typed stays for the cashier to correct.
        QCOMPARE(child<QLineEdit>(d, "Edit_yj")->text(), yj);
    }

    void cleaningAndClearedRefuse_data()
    {
        QTest::addColumn<int>("stat");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QString>("text");
        for (int stat : {5, 7}) {
            QTest::addRow("%d open", stat) << stat << 1 << "开台失败，当前状态下不能开台";
            QTest::addRow("%d reserve", stat) << stat << 3 << "预订失败，当前状态下不能预订";
            QTest::addRow("%d free", stat)
                << stat << 0 << "不能更改状态，已开台和预订的桌位不能设置空闲，如需设置请结算消台";
        }
    }

    void cleaningAndClearedRefuse()
    {
        QFETCH(int, stat);
        QFETCH(int, chosen);
        QFETCH(QString, text);
        GuiProgram p;
        p.exec(QString("INSERT INTO lumo_desk(title,bh,stat,addtime) VALUES('t','A1',%1,1000)")
                   .arg(stat));
        TForm_desk_zt *d = open_zt(p, "A1");
        fill(d, "Edit_nums", "3");
        const QString before = everything(p);
        save_as(d, chosen);
        QCOMPARE(toast_text(p), text);
        QCOMPARE(everything(p), before);
    }

    // ---- transfer ----

    void transferReservedTable()
    {
        GuiProgram p;
        p.exec("INSERT INTO lumo_desk(title,bh,stat,nums,yj,fwy,ydtruename,addtime,price,sort) "
               "VALUES('t','A1',3,2,50,'小王','张三',1000,'12.00',1)");
        p.exec("INSERT INTO lumo_desk(title,bh,stat,sort) VALUES('t','A2',0,2)");
        p.exec("INSERT INTO lumo_desk(title,bh,stat,sort) VALUES('t','A3',1,3)");
        for (int i = 4; i <= 7; ++i)
            p.exec(
                QString("INSERT INTO lumo_desk(title,bh,stat,sort) VALUES('t','A%1',0,%1)").arg(i));
        const QString a1 = desk_id(p, "A1"), a2 = desk_id(p, "A2");
        const QString order = add_order_with_line(p, a1);

        TForm_desk_zhuantai *d = p.forms->desk_zhuantai;
        d->open_with(a1, order);
        auto *group = child<QGroupBox>(d, "GroupBox_gldesk");
        QCOMPARE(group->title(), QString("关联桌号"));
        QCOMPARE(group->geometry(), QRect(5, 10, d->width() - 30, d->height() - 100));
        const auto radio = [&](const QString &bh) {
            return child<QRadioButton>(d, "zhuantai_radio_" + desk_id(p, bh));
        };
        QCOMPARE(radio("A1")->text(), QString("桌号：A1,状态：预订"));
        QCOMPARE(radio("A3")->text(), QString("桌号：A3,状态：开台"));
        QVERIFY(!radio("A1")->isEnabled());
        QVERIFY(!radio("A3")->isEnabled());
        QVERIFY(radio("A2")->isEnabled());
        // Five to a row: the seventh stands in row 1, column 1.
        const auto in_group = [&](const QString &bh) {
            return QRect(radio(bh)->mapTo(group, QPoint(0, 0)), radio(bh)->size());
        };
        QCOMPARE(in_group("A5"), QRect(10 + 160 * 4, 20, 150, 22));
        QCOMPARE(in_group("A7"), QRect(10 + 160, 44, 150, 22));
        QVERIFY(group->rect().contains(in_group("A7")));

        GuiProgram::click(radio("A2"));
        GuiProgram::click(child<QPushButton>(d, "Button_zhuantai"));
        QCOMPARE(p.prompts->confirms, QStringList{"确认要转到所选餐桌吗"});
        QCOMPARE(p.prompts->infos, QStringList{"转台成功"});
        QCOMPARE(p.prompts->errors, QStringList());
        const QString row = "SELECT stat||'|'||yj||'|'||price||'|'||nums||'|'||fwy||'|'||ydtruename"
                            "||'|'||addtime FROM lumo_desk WHERE id=";
        QCOMPARE(p.scalar(row + a2), QString("1|50.0|12.00|2|小王|张三|1000"));
        QCOMPARE(p.scalar(row + a1), QString("0|0.0|0.00|0|||0"));
        QCOMPARE(p.scalar("SELECT deskid FROM lumo_orders WHERE id=" + order), a2);
        QCOMPARE(p.scalar("SELECT deskid FROM lumo_orders_detail"), a1); // lines keep theirs
        // The board follows the guests to the target.
        QCOMPARE(p.ctx.desk_id, a2);
        QCOMPARE(d->desk_id(), a2);

        // The list is rebuilt each time the dialog is shown.
        d->hide();
        p.exec("INSERT INTO lumo_desk(title,bh,stat,sort) VALUES('t','B1',0,8)");
        d->open_with(a2, order);
        QCOMPARE(group->findChildren<QRadioButton *>().size(), 8);
        QVERIFY(!radio("A2")->isEnabled());
        QVERIFY(radio("A1")->isEnabled());
        QVERIFY(group->rect().contains(in_group("B1")));
    }

    void transferRefusals_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("toast");
        QTest::addColumn<QStringList>("infos");

        QTest::newRow("no current table") << ""
                                          << "A2"
                                          << "" << true << "还未选择桌号操作" << QStringList{};
        QTest::newRow("no target") << "A1"
                                   << ""
                                   << "" << true << "请选择一个空闲桌号" << QStringList{};
        QTest::newRow("same table") << "A2"
                                    << "A2"
                                    << "" << true << "当前桌号与目标桌号相同" << QStringList{};
        QTest::newRow("cancelled") << "A1"
                                   << "A2"
                                   << "" << false << "" << QStringList{};
        QTest::newRow("target taken meanwhile")
            << "A1"
            << "A2"
            << "UPDATE lumo_desk SET stat=1 WHERE bh='A2'" << true << ""
            << QStringList{"目标桌状态不能转台，请先确认目标桌是否空闲状态"};
        QTest::newRow("table settled meanwhile")
            << "A1"
            << "A2"
            << "UPDATE lumo_desk SET stat=0,nums=0 WHERE bh='A1'" << true
            << "当前桌位已空闲（可能已在别处结算），无需转台" << QStringList{};
        QTest::newRow("target deleted meanwhile") << "A1"
                                                  << "A2"
                                                  << "DELETE FROM lumo_desk WHERE bh='A2'" << true
                                                  << "目标桌号不存在，可能已删除" << QStringList{};
        QTest::newRow("failing order move")
            << "A1"
            << "A2"
            << "CREATE TRIGGER no_move BEFORE UPDATE ON lumo_orders BEGIN SELECT RAISE(ABORT,'x'); "
               "END"
            << true << "" << QStringList{};
    }

    void transferRefusals()
    {
        QFETCH(QString, current);
        QFETCH(QString, target);
        QFETCH(QString, meanwhile);
        QFETCH(bool, ok);
        QFETCH(QString, toast);
        QFETCH(QStringList, infos);

        GuiProgram p;
        p.exec("INSERT INTO lumo_desk(title,bh,stat,nums,yj,fwy,addtime,price,sort) "
               "VALUES('t','A1',1,2,50,'小王',1000,'12.00',1)");
        p.exec("INSERT INTO lumo_desk(title,bh,stat,sort) VALUES('t','A2',0,2)");
        add_order_with_line(p, desk_id(p, "A1"));

        TForm_desk_zhuantai *d = p.forms->desk_zhuantai;
        d->open_with(current.isEmpty() ? QString() : desk_id(p, current), QString());
        if (!target.isEmpty())
            GuiProgram::click(child<QRadioButton>(d, "zhuantai_radio_" + desk_id(p, target)));
        if (!meanwhile.isEmpty())
            p.exec(meanwhile);
        p.prompts->queue(ok);
        const QString before = everything(p);
        GuiProgram::click(child<QPushButton>(d, "Button_zhuantai"));

        QCOMPARE(toast_text(p), toast);
        QCOMPARE(p.prompts->infos, infos);
        QCOMPARE(everything(p), before);
        const bool asked = !current.isEmpty() && !target.isEmpty() && current != target;
        QCOMPARE(p.prompts->confirms, asked ? QStringList{"确认要转到所选餐桌吗"} : QStringList());
        // The list shows what refused the transfer: a taken target can no longer be chosen,
        // a deleted one is gone.
        QCOMPARE(
            QString::number(
                d->findChildren<QRadioButton *>(QRegularExpression("^zhuantai_radio_")).size()),
            p.scalar("SELECT count(*) FROM lumo_desk"));
        for (const QString &bh : {QString("A1"), QString("A2")}) {
            const QString id = desk_id(p, bh);
            if (id.isEmpty())
                continue;
            const bool free = p.scalar("SELECT stat FROM lumo_desk WHERE id=" + id) == "0";
            auto *radio = child<QRadioButton>(d, "zhuantai_radio_" + id);
            QCOMPARE(radio->isEnabled(), free);
            QCOMPARE(radio->text().endsWith(free ? "空闲" : "开台"), true);
        }
        if (meanwhile.startsWith("CREATE TRIGGER")) {
            QCOMPARE(p.prompts->errors.size(), 1);
            QVERIFY(p.prompts->errors[0].startsWith(
                QStringLiteral("数据库操作失败\n\nError executing SQL statement")));
            QVERIFY(p.prompts->errors[0].endsWith(": x"));
        } else {
            QCOMPARE(p.prompts->errors, QStringList());
        }
    }

private:
    // An open order on the table with one dish line; returns the order id.
    static QString add_order_with_line(const TestProgram &p, const QString &desk)
    {
        p.exec("INSERT INTO lumo_orders(deskid,iscal,title,allprice,price) VALUES(" + desk
               + ",0,'订单名称',12,12)");
        const QString order = p.scalar("SELECT max(id) FROM lumo_orders");
        p.exec("INSERT INTO lumo_orders_detail(title,deskid,oneprice,quantity,caipinid,rootid) "
               "VALUES('鱼',"
               + desk + ",12,1,3," + order + ")");
        return order;
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestDeskDialogs t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_desk_dialogs.moc"
