// Which paid reports may settle a checkout's bill.
#include "checkout/online_checkout.h"

#include <QTest>

class TestOnlineCheckout : public QObject
{
    Q_OBJECT

private slots:
    void paidAmount_data()
    {
        QTest::addColumn<QString>("reported");
        QTest::addColumn<double>("asked");
        QTest::addColumn<bool>("settles");
        QTest::newRow("no amount named") << "" << 23.0 << true;
        QTest::newRow("same amount") << "23.00" << 23.0 << true;
        QTest::newRow("same amount, other form") << " 23 " << 23.0 << true;
        QTest::newRow("sum with binary noise") << "0.30" << 0.1 + 0.2 << true;
        QTest::newRow("a fen less") << "22.99" << 23.0 << false;
        QTest::newRow("nothing paid") << "0.00" << 23.0 << false;
        QTest::newRow("no number") << "二十三" << 23.0 << false;
    }
    void paidAmount()
    {
        QFETCH(QString, reported);
        QFETCH(double, asked);
        QFETCH(bool, settles);
        const QString refusal = paid_amount_refusal(reported, asked);
        QCOMPARE(refusal.isEmpty(), settles);
        if (!settles)
            QVERIFY2(refusal.contains("未结算"), qPrintable(refusal));
    }
};

QTEST_GUILESS_MAIN(TestOnlineCheckout)
#include "tst_online_checkout.moc"
