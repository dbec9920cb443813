#include "app/ini.h"
#include "app/notifier.h"
#include "app/ui/toast.h"
#include "checkout/ui/qr_panel.h"
#include "checkout/ui/tform_chongzhi.h"
#include "qr_decode.h"
#include "reports/ui/tform_orders.h"
#include "store/sqlite_db.h"
#include "support/fixtures.h"
#include "support/paysim_process.h"
#include "support/ui/guikit.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>

namespace {

struct Recharge
{
    Recharge()
    {
        g.exec("INSERT INTO lumo_member(mobile,truename,balance) VALUES('13912345678','李雷',50)");
        uid = g.scalar("SELECT id FROM lumo_member WHERE mobile='13912345678'");
        IniFile(g.ctx.paths.ini).writeString("Shopinfo", "shopname", "小馆");
        dlg = g.forms->chongzhi;
    }

    void open() { dlg->open_with(uid); }
    QLineEdit *amount() const { return dlg->findChild<QLineEdit *>("edit_amount"); }
    QRadioButton *method(const QString &id) const
    {
        return dlg->findChild<QRadioButton *>("pay_radio_" + id);
    }
    void submit(const QString &text, const QString &method_id = QString())
    {
        amount()->setText(text);
        if (!method_id.isEmpty())
            GuiProgram::click(method(method_id));
        GuiProgram::click(dlg->findChild<QPushButton *>("btn_submit"));
    }
    // Names of the checked method buttons of the box now shown.
    QStringList checked() const
    {
        QStringList out;
        for (const QRadioButton *b :
             dlg->findChild<QGroupBox *>("paybox")->findChildren<QRadioButton *>())
            if (b->isChecked())
                out << b->objectName();
        return out;
    }
    QrPanel *panel() const { return dlg->qrPanel(); }
    QString toast() const { return g.forms->toast->isShown() ? g.forms->toast->text() : QString(); }
    QString balance() const
    {
        const double b = g.scalar("SELECT balance FROM lumo_member WHERE id=" + uid).toDouble();
        return QString::number(b, 'g', 15);
    }
    // Every recharge row as stat/paytype/price/tid.
    QString rows() const
    {
        TSQLiteDatabase db(g.ctx.db_path);
        TSQLiteTable t = db.GetTable("SELECT stat,paytype,price,tid FROM lumo_orders ORDER BY id");
        QStringList out;
        for (; !t.isEof(); t.Next())
            out << t.value("stat") + "/" + t.value("paytype") + "/"
                       + QString::number(t.real("price"), 'g', 15) + "/" + t.value("tid");
        return out.join(';');
    }

    GuiProgram g;
    QString uid;
    TForm_chongzhi *dlg = nullptr;
};

} // namespace

class TestChongzhiUi : public QObject
{
    Q_OBJECT

private slots:
    void showsTheMemberAndTheMethods()
    {
        Recharge r;
        r.open();
        QVERIFY(r.dlg->isVisible());
        QCOMPARE(r.dlg->windowTitle(), QString("给手机号：13912345678,姓名为李雷的会员余额充值"));
        QCOMPARE(r.dlg->findChild<QLabel *>("lbl_account")->text(),
                 QString("充值账号：13912345678"));
        QCOMPARE(r.dlg->findChild<QLabel *>("lbl_truename")->text(), QString("李雷"));
        QCOMPARE(r.amount()->text(), QString("100.00"));
        auto *box = r.dlg->findChild<QGroupBox *>("paybox");
        QCOMPARE(box->title(), QString("支付方式"));
        QCOMPARE(box->geometry(), QRect(43, 127, 330, 164));
        QCOMPARE(r.method("7")->text(), QString("其它(直接结算)"));
        QCOMPARE(r.method("6")->geometry(), QRect(175, 85, 160, 17));
        QVERIFY(r.method("3")->isChecked()); // no default set
        QVERIFY(!r.panel()->isVisible());
        keep_screenshot(r.dlg, "recharge.png");
    }

    void defaultMethodAtEachOpening_data()
    {
        QTest::addColumn<QString>("defaultpay");
        QTest::addColumn<QStringList>("checked");
        QTest::newRow("cash") << "5" << QStringList{"pay_radio_5"};
        QTest::newRow("online") << "1" << QStringList{"pay_radio_1"};
        QTest::newRow("outside the list") << "8" << QStringList();
    }
    void defaultMethodAtEachOpening()
    {
        QFETCH(QString, defaultpay);
        QFETCH(QStringList, checked);
        Recharge r;
        r.open();
        r.g.ctx.settings.defaultpay = defaultpay;          // as the default payment dialog saves it
        QCOMPARE(r.checked(), QStringList{"pay_radio_3"}); // the open dialog keeps its box
        r.dlg->hide();
        r.open();
        QCOMPARE(r.checked(), checked);
        QCOMPARE(r.dlg->findChildren<QGroupBox *>("paybox").size(), 1);
        if (checked.isEmpty()) {
            // No method chosen: nothing is credited and nothing is said.
            r.submit("20");
            QCOMPARE(r.balance(), QString("50"));
            QCOMPARE(r.rows(), QString());
            QCOMPARE(r.toast(), QString());
        }
    }

    void amountLimits_data()
    {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("toast");
        QTest::addColumn<QString>("balance");
        QTest::newRow("half a fen") << "0.005"
                                    << "充值金额最少0.01元"
                                    << "50";
        QTest::newRow("one fen") << "0.01"
                                 << "充值成功"
                                 << "50.01";
        QTest::newRow("the most") << "1000000"
                                  << "充值成功"
                                  << "1000050";
        QTest::newRow("over the most") << "1000000.01"
                                       << "充值金额最多1000000元"
                                       << "50";
        QTest::newRow("no number") << "abc"
                                   << "请输入充值金额"
                                   << "50";
    }
    void amountLimits()
    {
        QFETCH(QString, amount);
        QFETCH(QString, toast);
        QFETCH(QString, balance);
        Recharge r;
        r.open();
        r.submit(amount, "5");
        QCOMPARE(r.toast(), toast);
        QCOMPARE(r.balance(), balance);
        const bool accepted = toast == "充值成功";
        QCOMPARE(r.g.prompts->confirms,
                 accepted ? QStringList{"确认要充值" + amount + "元吗"} : QStringList());
        QCOMPARE(r.rows(),
                 accepted ? "1/5/" + QString::number(amount.toDouble(), 'g', 15) + "/1"
                          : QString());
    }

    void cashRechargeStaysOpenAndRemembersTheAmount()
    {
        Recharge r;
        QSignalSpy changed(&r.g.ctx.notifier(), &ChangeNotifier::member_changed);
        r.open();
        r.submit("200", "5");
        QCOMPARE(r.toast(), QString("充值成功"));
        QCOMPARE(r.balance(), QString("250"));
        QCOMPARE(r.rows(), QString("1/5/200/1"));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(0).toString(), r.uid);
        QVERIFY(r.dlg->isVisible());

        // Cancelled: nothing written, the amount not remembered.
        r.g.prompts->queue(false);
        r.submit("30", "6");
        QCOMPARE(r.balance(), QString("250"));
        r.dlg->hide();
        r.open();
        QCOMPARE(r.amount()->text(), QString("200"));
    }

    void withoutConfigurationFileNothingIsRemembered()
    {
        Recharge r;
        QFile::remove(r.g.ctx.paths.ini);
        r.open();
        QCOMPARE(r.amount()->text(), QString("500"));
        r.submit("20", "5");
        QCOMPARE(r.balance(), QString("70"));
        QVERIFY(!QFile::exists(r.g.ctx.paths.ini));
    }

    void deletedMemberIsNotCredited()
    {
        Recharge r;
        r.open();
        r.g.exec("DELETE FROM lumo_member");
        r.submit("20", "5");
        QCOMPARE(r.toast(), QString("充值失败"));
        QCOMPARE(r.rows(), QString());
    }

    void onlineRechargePaidCreditsOnce_data()
    {
        QTest::addColumn<QStringList>("switches");
        QTest::addColumn<QStringList>("infos");
        QTest::addColumn<QStringList>("warnings");
        QTest::addColumn<QString>("balance");
        QTest::addColumn<QString>("row");
        QTest::newRow("paid as asked")
            << QStringList() << QStringList{"支付成功"} << QStringList() << "138.8"
            << "1/2/88.8/1";
        // What was paid is credited, and the counter is told of the difference.
        QTest::newRow("paid another price")
            << QStringList{"--price", "80"} << QStringList()
            << QStringList{"实际支付金额 80.00 元与充值金额 88.80 元不一致，已按实际支付金额充值"}
            << "130"
            << "1/2/80/1";
    }
    void onlineRechargePaidCreditsOnce()
    {
        QFETCH(QStringList, switches);
        QFETCH(QStringList, infos);
        QFETCH(QStringList, warnings);
        QFETCH(QString, balance);
        QFETCH(QString, row);
        Recharge r;
        PaySimProcess sim(switches);
        QVERIFY(sim.started());
        r.g.ctx.settings.payservice_url = sim.base;
        QSignalSpy changed(&r.g.ctx.notifier(), &ChangeNotifier::member_changed);
        TForm_orders *orders = r.g.forms->orders;
        orders->show(); // an open orders list shows the pending row at once
        QCOMPARE(orders->list()->rowCount(), 0);
        r.open();
        r.submit("88.8", "2");
        QTRY_VERIFY(r.panel()->isVisible());
        QCOMPARE(orders->list()->rowCount(), 1);
        QCOMPARE(r.dlg->findChild<QLabel *>("qr_title")->text(), QString("支付宝扫一扫支付"));
        QCOMPARE(r.dlg->findChild<QLabel *>("qr_amount")->text(), QString("您需支付：88.8"));
        QCOMPARE(r.rows(), QString("0/0/88.8/1")); // pending
        QVERIFY(!r.dlg->findChild<QPushButton *>("btn_submit")->isEnabled());
        QVERIFY(r.amount()->isReadOnly());

        const QString link = zbar_decode(r.panel()->image());
        QVERIFY2(link.startsWith(sim.base + "/pay?id="), qPrintable(link));
        keep_screenshot(r.dlg, "recharge-qr.png");
        QVERIFY(sim.open_link(link));
        QTRY_VERIFY_WITH_TIMEOUT(!r.panel()->isVisible(), 5000);
        QCOMPARE(r.g.prompts->infos, infos);
        QCOMPARE(r.g.prompts->warnings, warnings);
        QCOMPARE(r.balance(), balance);
        QCOMPARE(r.rows(), row);
        QCOMPARE(changed.size(), 1);
        QVERIFY(r.dlg->isVisible());
        QVERIFY(r.dlg->findChild<QPushButton *>("btn_submit")->isEnabled());
        QVERIFY(!r.amount()->isReadOnly());
    }

    void abandonedRechargeCreditsNothing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("close mark") << "qr_close";
        QTest::newRow("choose another method") << "qr_again";
        QTest::newRow("dialog hidden") << "";
    }
    void abandonedRechargeCreditsNothing()
    {
        QFETCH(QString, how);
        Recharge r;
        PaySimProcess sim;
        r.g.ctx.settings.payservice_url = sim.base;
        r.open();
        r.submit("66", "1");
        QTRY_VERIFY(r.panel()->isVisible());
        QCOMPARE(r.dlg->findChild<QLabel *>("qr_title")->text(), QString("微信扫一扫支付"));
        if (how.isEmpty())
            r.dlg->hide();
        else
            GuiProgram::click(r.dlg->findChild<QPushButton *>(how));
        QVERIFY(!r.panel()->payment().polling());
        QVERIFY(sim.open_link(zbar_decode(r.panel()->image())));
        QTest::qWait(3500); // longer than a first check and a repeat
        QCOMPARE(r.g.prompts->infos, QStringList());
        QCOMPARE(r.balance(), QString("50"));
        QCOMPARE(r.rows(), QString("0/0/66/1"));

        r.dlg->hide();
        r.open(); // the abandoned amount is still proposed, with no stale code
        QCOMPARE(r.amount()->text(), QString("66"));
        QVERIFY(!r.panel()->isVisible());
        QVERIFY(r.dlg->findChild<QPushButton *>("btn_submit")->isEnabled());
    }

    void serviceProblemsShowNoPanel_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QStringList>("switches");
        QTest::addColumn<QString>("toast");
        QTest::newRow("no address") << "" << QStringList() << "请在系统设置中设置支付服务地址";
        QTest::newRow("service down")
            << "down" << QStringList() << "可能是网络错误，请检查您的网络";
        QTest::newRow("refused") << "sim" << QStringList{"--refuse", "该商户未开通支付宝"}
                                 << "该商户未开通支付宝";
    }
    void serviceProblemsShowNoPanel()
    {
        QFETCH(QString, url);
        QFETCH(QStringList, switches);
        QFETCH(QString, toast);
        Recharge r;
        PaySimProcess sim(switches);
        r.g.ctx.settings.payservice_url = url == "sim" ? sim.base
                                          : url == "down"
                                              ? QString("http://127.0.0.1:%1").arg(closed_port())
                                              : QString();
        r.open();
        r.submit("20", "2");
        QTRY_COMPARE(r.toast(), toast);
        QVERIFY(!r.panel()->isVisible());
        QCOMPARE(r.rows(), QString());
        QCOMPARE(r.balance(), QString("50"));
        QTRY_VERIFY(r.dlg->findChild<QPushButton *>("btn_submit")->isEnabled());
    }
};

QTEST_MAIN(TestChongzhiUi)
#include "tst_chongzhi_ui.moc"
