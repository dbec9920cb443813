#include "app/ui/toast.h"
#include "checkout/ui/checkout_qr.h"
#include "checkout/ui/qr_panel.h"
#include "qr_decode.h"
#include "support/fixtures.h"
#include "support/paysim_process.h"
#include "support/ui/guikit.h"

#include <QDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QSignalSpy>

namespace {

// A dialog carrying the checkout's online payment, settling through a recorded stand-in
// for the checkout's own settlement.
struct OnlineCheckout
{
    OnlineCheckout(const QStringList &switches = {})
        : sim(switches)
    {
        g.ctx.settings.payservice_url = sim.base;
        add_desks(g, 2);
        desk = g.scalar("SELECT id FROM lumo_desk ORDER BY id LIMIT 1");
        order = open_order(g, 1);
        add_line(g, order, "水煮鱼", "68", "1");
        add_line(g, order, "米饭", "2", "2");
        dialog.resize(1100, 700);
        qr = new CheckoutQr(*g.forms, &dialog);
        qr->panel()->move(700, 150);
        qr->setSettle([this](const QString &o, const QString &paytype) {
            settles << o + ":" + paytype;
            g.exec("UPDATE lumo_orders SET iscal=1,paytype=" + paytype + " WHERE id=" + o);
            return true;
        });
        dialog.show();
    }
    QJsonObject sent(int i = 0) const { return sim.payments().at(i).toObject(); }
    QString toast() const { return g.forms->toast->isShown() ? g.forms->toast->text() : QString(); }

    GuiProgram g;
    PaySimProcess sim;
    QString desk;
    QString order;
    QDialog dialog;
    CheckoutQr *qr = nullptr;
    QStringList settles;
};

} // namespace

class TestCheckoutQrUi : public QObject
{
    Q_OBJECT

private slots:
    void paidSettlesTheOrderItWasCreatedFor()
    {
        OnlineCheckout f;
        QSignalSpy settled(f.qr, &CheckoutQr::settled);
        QSignalSpy busy(f.qr, &CheckoutQr::busyChanged);
        f.qr->pay_order(f.desk, f.order, "1", 62.1, 72);
        QVERIFY(f.qr->busy()); // amounts locked while the request is on its way
        QTRY_VERIFY(f.qr->panel()->isVisible());
        QCOMPARE(f.dialog.findChild<QLabel *>("qr_title")->text(), QString("微信扫一扫支付"));
        QCOMPARE(f.dialog.findChild<QLabel *>("qr_amount")->text(), QString("您需支付：62.10元"));

        const QJsonObject sent = f.sent();
        QCOMPARE(sent.value("price").toString(), QString("6210"));
        QCOMPARE(sent.value("allprice").toString(), QString("7200"));
        QCOMPARE(sent.value("title").toString(), QString("水煮鱼"));
        QCOMPARE(f.g.scalar("SELECT ordid FROM lumo_orders WHERE id=" + f.order),
                 sent.value("ordid").toString());
        const QString link = zbar_decode(f.qr->panel()->image());
        keep_screenshot(f.qr->panel(), "qr-panel.png");
        QCOMPARE(link, QString("%1/pay?id=%2").arg(f.sim.base).arg(sent.value("id").toInt()));

        QVERIFY(f.sim.open_link(link));
        QTRY_COMPARE_WITH_TIMEOUT(settled.size(), 1, 5000);
        QCOMPARE(settled.at(0), (QList<QVariant>{f.desk, f.order}));
        QCOMPARE(f.settles, QStringList{f.order + ":1"});
        QCOMPARE(f.g.prompts->infos, QStringList{"支付成功"});
        QVERIFY(!f.qr->panel()->isVisible());
        QVERIFY(!f.qr->busy());
        QCOMPARE(busy.last().at(0).toBool(), false);
    }

    void reportAfterTheOrderWasSettledSettlesNothing()
    {
        OnlineCheckout f({"--paytype", "2"});
        QSignalSpy settled(f.qr, &CheckoutQr::settled);
        f.qr->pay_order(f.desk, f.order, "2", 72, 72);
        QTRY_VERIFY(f.qr->panel()->isVisible());
        QCOMPARE(f.dialog.findChild<QLabel *>("qr_title")->text(), QString("支付宝扫一扫支付"));
        // Settled in cash at another counter while the guest was still scanning.
        f.g.exec("UPDATE lumo_orders SET iscal=1,paytype=5 WHERE id=" + f.order);
        QVERIFY(f.sim.open_link(zbar_decode(f.qr->panel()->image())));
        QTRY_VERIFY_WITH_TIMEOUT(!f.qr->panel()->isVisible(), 5000);
        QCOMPARE(f.settles, QStringList());
        QCOMPARE(settled.size(), 0);
        QCOMPARE(f.g.scalar("SELECT paytype FROM lumo_orders WHERE id=" + f.order), QString("5"));
        QCOMPARE(f.g.prompts->warnings.size(), 1);
        QCOMPARE(f.g.prompts->infos, QStringList());
    }

    void nothingSentOrSettled_data()
    {
        QTest::addColumn<double>("payprice");
        QTest::addColumn<QStringList>("switches");
        QTest::addColumn<QString>("toast");
        QTest::newRow("nothing to pay") << 0.0 << QStringList() << "支付金额错误";
        QTest::newRow("refused by the service")
            << 10.0 << QStringList{"--refuse", "微信支付未开通"} << "微信支付未开通";
        QTest::newRow("service down")
            << 10.0 << QStringList{"--unavailable"} << "可能是网络错误，请检查您的网络";
    }
    void nothingSentOrSettled()
    {
        QFETCH(double, payprice);
        QFETCH(QStringList, switches);
        QFETCH(QString, toast);
        OnlineCheckout f(switches);
        const QString orders = dump(f.g, "lumo_orders");
        f.qr->pay_order(f.desk, f.order, "1", payprice, 72);
        QTRY_COMPARE(f.toast(), toast);
        QVERIFY(!f.qr->panel()->isVisible());
        QTRY_VERIFY(!f.qr->busy());
        QCOMPARE(dump(f.g, "lumo_orders"), orders);
        if (payprice == 0.0)
            QCOMPARE(f.sim.get("/payments"), QString(R"({"payments":[]})"));
    }

    // "✕", "重新选择支付方式" or the checkout itself hidden: the code goes, and a
    // payment made after that settles nothing.
    void closedPanelStopsPolling_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("close mark") << "qr_close";
        QTest::newRow("choose again") << "qr_again";
        QTest::newRow("dialog hidden") << "";
    }

    void closedPanelStopsPolling()
    {
        QFETCH(QString, how);
        OnlineCheckout f;
        f.qr->pay_order(f.desk, f.order, "1", 72, 72);
        QTRY_VERIFY(f.qr->panel()->isVisible());
        if (how.isEmpty())
            f.dialog.hide();
        else
            GuiProgram::click(f.dialog.findChild<QWidget *>(how));
        QVERIFY(f.qr->panel()->isHidden());
        QVERIFY(!f.qr->busy());
        QVERIFY(f.sim.open_link(zbar_decode(f.qr->panel()->image())));
        QTest::qWait(3500);
        QCOMPARE(f.settles, QStringList());
        QCOMPARE(f.g.scalar("SELECT iscal FROM lumo_orders WHERE id=" + f.order), QString("0"));
    }
};

QTEST_MAIN(TestCheckoutQrUi)
#include "tst_checkout_qr_ui.moc"
