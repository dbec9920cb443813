// The payment service failing while a guest pays at the checkout or for a recharge:
// down, garbage, too slow, a "paid" report for a payment it does not know or of another
// amount, a report that comes twice. Never a settlement without a paid report of the
// amount asked, never two, and the counter keeps working throughout.
#include "app/ui/toast.h"
#include "board/desk_state.h"
#include "checkout/online_checkout.h"
#include "checkout/ui/qr_panel.h"
#include "checkout/ui/tform_cancel.h"
#include "checkout/ui/tform_chongzhi.h"
#include "ordering/diancan.h"
#include "support/fault_db.h"
#include "support/paysim_process.h"
#include "support/ui/guikit.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

namespace {

// Table 1 open with 2 x dish 1 (9.50 each) and the tableware for two (2.00 each): 23.00.
struct Counter
{
    explicit Counter(const QStringList &switches = {})
        : sim(switches)
    {
        g.ctx.settings.payservice_url = sim.base;
        g.ctx.settings.cwf = "2.00";
        seed_fault_fixture(g, 2, 3);
        DeskStateForm open;
        open.stat = 1;
        open.nums = "2";
        save_desk_state(g.ctx, "1", open);
        order = submit_cart(g.ctx, "1", {{"1", "菜品1", "9.50", "2", "0", "", "", ""}}).order_id;
        cancel = g.forms->cancel;
    }

    // The checkout of table 1 with WeChat chosen and "开始结算" pressed.
    void pay_by_wechat()
    {
        cancel->open_with("1", order);
        cancel->show();
        GuiProgram::click(cancel->findChild<QRadioButton *>("pay_radio_1"));
        g.prompts->queue(true);
        GuiProgram::click(cancel->findChild<QPushButton *>("Button_settle"));
    }
    QrPanel *panel() const { return cancel->findChild<QrPanel *>("qr_panel"); }
    // The link of the payment the service received last.
    QString link() const
    {
        const QJsonArray sent = sim.payments();
        return QString("%1/pay?id=%2")
            .arg(sim.base)
            .arg(sent.last().toObject().value("id").toInt());
    }
    void faults(const QString &query) const { QVERIFY(!sim.get("/faults?" + query).isEmpty()); }
    QString settled() const
    {
        return g.scalar("SELECT iscal||' '||paytype||' '||printf('%.2f',price) FROM lumo_orders "
                        "WHERE id="
                        + order);
    }
    QString toast() const { return g.forms->toast->isShown() ? g.forms->toast->text() : QString(); }

    GuiProgram g;
    PaySimProcess sim;
    QString order;
    TForm_cancel *cancel = nullptr;
};

const QString Paid = "1 1 23.00";
const QString Open = "0 0 23.00";

} // namespace

class TestPayserviceFaults : public QObject
{
    Q_OBJECT

private slots:
    // The service fails after the code is shown and the guest pays meanwhile: the
    // counter keeps asking, settles nothing, and settles once when the service is back.
    void serviceFailsWhileTheGuestPays_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("down") << "unavailable=1";
        QTest::newRow("garbage") << "garbage=1";
        QTest::newRow("slow past the timeout") << "slow=1500";
    }
    void serviceFailsWhileTheGuestPays()
    {
        QFETCH(QString, fault);
        Counter c;
        c.pay_by_wechat();
        QTRY_VERIFY(c.panel() && c.panel()->isVisible());
        c.panel()->payment().client().setReadTimeoutMs(500);
        c.faults(fault);
        QVERIFY(c.sim.open_link(c.link()));
        QTest::qWait(3000); // the first check and a repeat, both failing
        QCOMPARE(c.settled(), Open);
        QVERIFY(c.panel()->isVisible());
        QVERIFY(c.panel()->payment().polling());

        c.faults("unavailable=0&garbage=0&slow=0");
        QTRY_COMPARE_WITH_TIMEOUT(c.settled(), Paid, 6000);
        QTRY_VERIFY(!c.cancel->isVisible());
        QCOMPARE(c.g.prompts->infos, QStringList{"支付成功"});
        QCOMPARE(check_invariants(c.g.ctx.db_path), QStringList());
    }

    // A "paid" report that cannot be this payment: nothing is settled, the cashier is told.
    void paidReportOfNoSuchPaymentSettlesNothing_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("guest_pays");
        QTest::newRow("payment unknown to the service") << "forget=1&paid_unknown=1" << false;
        QTest::newRow("another amount paid") << "price=0.01" << true;
    }
    void paidReportOfNoSuchPaymentSettlesNothing()
    {
        QFETCH(QString, fault);
        QFETCH(bool, guest_pays);
        Counter c;
        c.pay_by_wechat();
        QTRY_VERIFY(c.panel() && c.panel()->isVisible());
        c.faults(fault);
        if (guest_pays)
            QVERIFY(c.sim.open_link(c.link()));
        QTRY_VERIFY_WITH_TIMEOUT(!c.panel()->isVisible(), 5000);
        QCOMPARE(c.settled(), Open);
        QCOMPARE(c.g.scalar("SELECT stat FROM lumo_desk WHERE id=1"), QString("1"));
        QCOMPARE(c.g.prompts->infos, QStringList());
        QCOMPARE(c.g.prompts->warnings.size(), 1);
        QVERIFY2(c.g.prompts->warnings.at(0).contains("23.00"),
                 qPrintable(c.g.prompts->warnings.at(0)));
        // The bill can be settled again, with the code of a new payment.
        QVERIFY(c.cancel->findChild<QPushButton *>("Button_settle")->isEnabled());
    }

    void paidReportTwiceSettlesOnce()
    {
        Counter c;
        c.pay_by_wechat();
        QTRY_VERIFY(c.panel() && c.panel()->isVisible());
        QSignalSpy paid(&c.panel()->payment(), &QrPayment::paid);
        QVERIFY(c.sim.open_link(c.link()));
        QTRY_COMPARE_WITH_TIMEOUT(c.settled(), Paid, 5000);
        // The same report once more, after the table was freed and opened again.
        DeskStateForm open;
        open.stat = 1;
        QVERIFY(save_desk_state(c.g.ctx, "1", open).saved);
        emit c.panel()->payment().paid(paid.at(0).at(0).value<CheckAnswer>());
        QCOMPARE(c.g.scalar("SELECT count(*) FROM lumo_orders WHERE iscal=1"), QString("1"));
        QCOMPARE(c.settled(), Paid);
        QCOMPARE(c.g.scalar("SELECT count(*) FROM lumo_orders WHERE iscal=0 AND deskid=1"),
                 QString("1"));
        QCOMPARE(c.g.prompts->infos, QStringList{"支付成功"});
        QCOMPARE(c.g.prompts->warnings, QStringList{settled_meanwhile_message()});
    }

    // While the service holds its answer the counter stays usable: the cashier takes
    // the code away at once, and the late answer changes nothing.
    void counterKeepsWorkingWhileTheServiceHoldsItsAnswer()
    {
        Counter c;
        c.pay_by_wechat();
        QTRY_VERIFY(c.panel() && c.panel()->isVisible());
        c.faults("slow=30000");
        QVERIFY(c.sim.open_link(c.link()));
        QTest::qWait(1500); // a check is now waiting for its answer
        GuiProgram::click(c.cancel->findChild<QPushButton *>("qr_again"));
        QVERIFY(!c.panel()->isVisible());
        QVERIFY(!c.panel()->payment().polling());
        QVERIFY(c.cancel->findChild<QPushButton *>("Button_settle")->isEnabled());
        QTest::qWait(2500);
        QCOMPARE(c.settled(), Open);
    }

    void rechargeCreationHeldBackDoesNotBlock()
    {
        Counter c({"--slow", "30000"});
        TForm_chongzhi *dlg = c.g.forms->chongzhi;
        dlg->open_with("1");
        dlg->qrPanel()->payment().client().setReadTimeoutMs(1000);
        dlg->findChild<QLineEdit *>("edit_amount")->setText("88.8");
        GuiProgram::click(dlg->findChild<QRadioButton *>("pay_radio_1"));
        GuiProgram::click(dlg->findChild<QPushButton *>("btn_submit"));
        // Back at once with the request still out; the amount is locked meanwhile.
        QVERIFY(dlg->qrPanel()->payment().creating());
        QVERIFY(!dlg->findChild<QPushButton *>("btn_submit")->isEnabled());
        QTRY_COMPARE(c.toast(), QString("可能是网络错误，请检查您的网络"));
        QVERIFY(dlg->findChild<QPushButton *>("btn_submit")->isEnabled());
        QCOMPARE(c.g.scalar("SELECT count(*) FROM lumo_orders WHERE tid=1"), QString("0"));
    }

    // Recharges: what is credited is what the books record, once.
    void rechargePaidReports_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("guest_pays");
        QTest::addColumn<bool>("report_again");
        QTest::addColumn<QString>("balance");
        QTest::newRow("paid") << "" << true << false << "88.80";
        QTest::newRow("reported twice") << "" << true << true << "88.80";
        QTest::newRow("another amount reported") << "price=50" << true << false << "50.00";
        QTest::newRow("payment unknown to the service")
            << "forget=1&paid_unknown=1" << false << false << "0.00";
    }
    void rechargePaidReports()
    {
        QFETCH(QString, fault);
        QFETCH(bool, guest_pays);
        QFETCH(bool, report_again);
        QFETCH(QString, balance);
        Counter c;
        TForm_chongzhi *dlg = c.g.forms->chongzhi;
        QSignalSpy paid(&dlg->qrPanel()->payment(), &QrPayment::paid);
        dlg->open_with("1");
        dlg->findChild<QLineEdit *>("edit_amount")->setText("88.8");
        GuiProgram::click(dlg->findChild<QRadioButton *>("pay_radio_1"));
        c.g.prompts->queue(true);
        GuiProgram::click(dlg->findChild<QPushButton *>("btn_submit"));
        QTRY_VERIFY(dlg->qrPanel()->isVisible());
        if (!fault.isEmpty())
            c.faults(fault);
        if (guest_pays)
            QVERIFY(c.sim.open_link(c.link()));
        QTRY_VERIFY_WITH_TIMEOUT(!dlg->qrPanel()->isVisible(), 5000);
        if (report_again)
            emit dlg->qrPanel()->payment().paid(paid.at(0).at(0).value<CheckAnswer>());
        QCOMPARE(c.g.scalar("SELECT printf('%.2f',balance) FROM lumo_member WHERE id=1"), balance);
        QCOMPARE(check_invariants(c.g.ctx.db_path), QStringList());
        QCOMPARE(c.g.prompts->infos.size() + c.g.prompts->warnings.size(), 1 + int(report_again));
    }
};

QTEST_MAIN(TestPayserviceFaults)
#include "tst_payservice_faults.moc"
