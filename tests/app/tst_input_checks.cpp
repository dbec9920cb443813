#include "app/input_checks.h"

#include <QTest>

#include <functional>

namespace {

using Check = std::function<CheckedNumber(const QString &)>;

Check check_named(const QString &name)
{
    if (name == "deposit")
        return check_deposit;
    if (name == "guests")
        return check_guests;
    if (name == "price")
        return check_unit_price;
    return check_quantity;
}

} // namespace

class TestInputChecks : public QObject
{
    Q_OBJECT

private slots:
    void accepted_data()
    {
        QTest::addColumn<QString>("check");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");

        QTest::newRow("deposit two decimals") << "deposit"
                                              << "12.50" << 12.5;
        QTest::newRow("deposit trimmed") << "deposit"
                                         << " 100 " << 100.0;
        QTest::newRow("deposit empty is 0") << "deposit"
                                            << "" << 0.0;
        QTest::newRow("deposit 0") << "deposit"
                                   << "0" << 0.0;
        QTest::newRow("deposit without leading digit") << "deposit"
                                                       << ".5" << 0.5;
        QTest::newRow("guests upper bound") << "guests"
                                            << "999" << 999.0;
        QTest::newRow("guests 0") << "guests"
                                  << "0" << 0.0;
        QTest::newRow("guests leading zeros") << "guests"
                                              << "0000000000004" << 4.0;
        QTest::newRow("guests empty is 0") << "guests"
                                           << " " << 0.0;
        QTest::newRow("price smallest") << "price"
                                        << "0.01" << 0.01;
        QTest::newRow("price upper bound") << "price"
                                           << "99999.99" << 99999.99;
        QTest::newRow("price whole") << "price"
                                     << "38" << 38.0;
        QTest::newRow("price below a cent is 0") << "price"
                                                 << "0.001" << 0.0;
        QTest::newRow("quantity 1") << "quantity"
                                    << "1" << 1.0;
        QTest::newRow("quantity upper bound") << "quantity"
                                              << "9999" << 9999.0;
    }
    void accepted()
    {
        QFETCH(QString, check);
        QFETCH(QString, text);
        QFETCH(double, value);
        const CheckedNumber c = check_named(check)(text);
        QVERIFY2(c.ok(), qPrintable(c.refusal));
        QCOMPARE(c.value, value);
    }

    void refused_data()
    {
        QTest::addColumn<QString>("check");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("refusal");

        const QString d = DepositRefusal, g = GuestsRefusal, p = UnitPriceRefusal,
                      q = QuantityRefusal;
        QTest::newRow("deposit lone point") << "deposit"
                                            << "." << d;
        QTest::newRow("deposit two points") << "deposit"
                                            << "12.3.4" << d;
        QTest::newRow("deposit three decimals") << "deposit"
                                                << "1.005" << d;
        QTest::newRow("deposit negative") << "deposit"
                                          << "-5" << d;
        QTest::newRow("deposit exponent") << "deposit"
                                          << "1e308" << d;
        QTest::newRow("deposit letters") << "deposit"
                                         << "abc" << d;
        QTest::newRow("deposit too large to hold") << "deposit" << QString(400, '9') << d;
        QTest::newRow("guests negative") << "guests"
                                         << "-5" << g;
        QTest::newRow("guests above 999") << "guests"
                                          << "1000" << g;
        QTest::newRow("guests int max") << "guests"
                                        << "2147483647" << g;
        QTest::newRow("guests fraction") << "guests"
                                         << "3.5" << g;
        QTest::newRow("guests hexadecimal") << "guests"
                                            << "0x10" << g;
        QTest::newRow("price exponent") << "price"
                                        << "1e308" << p;
        QTest::newRow("price above bound") << "price"
                                           << "99999999999" << p;
        QTest::newRow("price just above bound") << "price"
                                                << "99999.991" << p;
        QTest::newRow("price two points") << "price"
                                          << "1.2.3" << p;
        QTest::newRow("price negative") << "price"
                                        << "-1" << p;
        QTest::newRow("price empty") << "price"
                                     << "" << p;
        QTest::newRow("price lone point") << "price"
                                          << "." << p;
        QTest::newRow("price infinity") << "price"
                                        << "inf" << p;
        QTest::newRow("quantity fraction") << "quantity"
                                           << "1.5" << q;
        QTest::newRow("quantity 0") << "quantity"
                                    << "0" << q;
        QTest::newRow("quantity above bound") << "quantity"
                                              << "10000" << q;
        QTest::newRow("quantity int max") << "quantity"
                                          << "2147483647" << q;
        QTest::newRow("quantity empty") << "quantity"
                                        << "" << q;
        QTest::newRow("quantity full-width digit") << "quantity"
                                                   << "２" << q;
    }
    void refused()
    {
        QFETCH(QString, check);
        QFETCH(QString, text);
        QFETCH(QString, refusal);
        QCOMPARE(check_named(check)(text).refusal, refusal);
    }
};

QTEST_GUILESS_MAIN(TestInputChecks)
#include "tst_input_checks.moc"
