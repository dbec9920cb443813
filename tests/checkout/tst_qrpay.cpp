#include "checkout/qrpay.h"
#include "support/paysim_process.h"
#include "support/testkit.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {

struct Fixture
{
    explicit Fixture(const QStringList &switches = {})
        : sim(switches)
        , pay(p.ctx)
    {
        p.ctx.settings.payservice_url = sim.base + "/";
        p.ctx.service = {"小店", "0123abcd"};
    }
    TestProgram p;
    PaySimProcess sim;
    QrPayment pay;
};

const PayRequest Wechat{"0", 12.34, 20, "红烧肉"};

} // namespace

class TestQrPay : public QObject
{
    Q_OBJECT

private slots:
    void fenText_data()
    {
        QTest::addColumn<double>("yuan");
        QTest::addColumn<QString>("fen");
        QTest::newRow("12.34") << 12.34 << "1234";
        QTest::newRow("0.01") << 0.01 << "1";
        QTest::newRow("19.99") << 19.99 << "1999";
        QTest::newRow("sum with binary noise") << 0.1 + 0.2 << "30";
        QTest::newRow("1000000") << 1000000.0 << "100000000";
        QTest::newRow("fraction of a fen kept") << 0.125 << "12.5";
    }
    void fenText()
    {
        QFETCH(double, yuan);
        QFETCH(QString, fen);
        QCOMPARE(fen_text(yuan), fen);
    }

    void createAnswers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("id");
        QTest::newRow("empty after a failure")
            << "" << int(CreateAnswer::NetworkError) << QString(NetworkMessage) << "";
        QTest::newRow("no status key") << "<html>error</html>" << int(CreateAnswer::NetworkError)
                                       << QString(NetworkMessage) << "";
        QTest::newRow("refused with its message")
            << R"({"status":0,"msg":"商户未开通"})" << int(CreateAnswer::Refused) << "商户未开通"
            << "";
        QTest::newRow("id beyond double precision kept as written")
            << R"({"status":1,"msg":"ok","code":0,"data":9007199254740993,"ordid":"W1","url":"u"})"
            << int(CreateAnswer::Created) << ""
            << "9007199254740993";
        QTest::newRow("id as text") << R"({"status":"1","data":"ab12","ordid":"W1","url":"u"})"
                                    << int(CreateAnswer::Created) << ""
                                    << "ab12";
        // Only the answer's own members count, never those of an object inside it.
        QTest::newRow("nested data before the id")
            << R"({"status":1,"result":{"data":77,"x":[{"data":5}]},"data":9007199254740993,)"
               R"("ordid":"W1","url":"u"})"
            << int(CreateAnswer::Created) << ""
            << "9007199254740993";
        QTest::newRow("nested data in a text") << "{\"status\":1,\"msg\":\"\\\"data\\\":1\","
                                                  "\"data\":42,\"ordid\":\"W1\",\"url\":\"u\"}"
                                               << int(CreateAnswer::Created) << ""
                                               << "42";
    }
    void createAnswers()
    {
        QFETCH(QString, text);
        QFETCH(int, kind);
        QFETCH(QString, message);
        QFETCH(QString, id);
        const CreateAnswer a = read_create_answer(text);
        QCOMPARE(int(a.kind), kind);
        QCOMPARE(a.message, message);
        QCOMPARE(a.id, id);
    }

    void checkAnswers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("paid");
        QTest::addColumn<QString>("paytype");
        QTest::addColumn<QString>("price");
        QTest::newRow("paid") << R"({"status":1,"msg":"支付成功","paytype":2,"price":"12.34"})"
                              << true << "2"
                              << "12.34";
        QTest::newRow("numbers as numbers")
            << R"({"status":1,"msg":"ok","paytype":"1","price":12.5})" << true << "1"
            << "12.5";
        QTest::newRow("not yet") << R"({"status":0,"msg":"等待支付"})" << false << ""
                                 << "";
        QTest::newRow("nested price before the price")
            << R"({"status":1,"order":{"price":3200,"paytype":5},"price":32,"paytype":1})" << true
            << "1"
            << "32";
        // A pay type is a code: any number of a whole value 1-7 or 9 is that code.
        QTest::newRow("pay type 1.0") << R"({"status":1,"paytype":1.0,"price":"32"})" << true << "1"
                                      << "32";
        QTest::newRow("pay type 2e0") << R"({"status":1,"paytype":2e0,"price":"32"})" << true << "2"
                                      << "32";
        QTest::newRow("pay type 9.0 as text")
            << R"({"status":1,"paytype":"9.0","price":"1"})" << true << "9"
            << "1";
        QTest::newRow("pay type 8 stays, to be refused")
            << R"({"status":1,"paytype":8,"price":"1"})" << true << "8"
            << "1";
        QTest::newRow("pay type 2.5 stays, to be refused")
            << R"({"status":1,"paytype":2.5,"price":"1"})" << true << "2.5"
            << "1";
        QTest::newRow("key without colon is no answer") << R"({"status" 1})" << false << ""
                                                        << "";
        QTest::newRow("empty") << "" << false << ""
                               << "";
    }
    void checkAnswers()
    {
        QFETCH(QString, text);
        QFETCH(bool, paid);
        QFETCH(QString, paytype);
        QFETCH(QString, price);
        const CheckAnswer a = read_check_answer(text);
        QCOMPARE(a.paid, paid);
        QCOMPARE(a.paytype, paytype);
        QCOMPARE(a.price, price);
    }

    void refusedBeforeSending_data()
    {
        QTest::addColumn<double>("price");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("message");
        QTest::newRow("nothing to pay") << 0.0 << "http://127.0.0.1:9" << QString(BadAmountMessage);
        QTest::newRow("below a fen") << 0.004 << "http://127.0.0.1:9" << QString(BadAmountMessage);
        QTest::newRow("no service address") << 5.0 << "  " << QString(NoServiceMessage);
    }
    void refusedBeforeSending()
    {
        QFETCH(double, price);
        QFETCH(QString, url);
        QFETCH(QString, message);
        TestProgram p;
        p.ctx.settings.payservice_url = url;
        QrPayment pay(p.ctx);
        QCOMPARE(pay.start({"0", price, price, "x"}), message);
        QVERIFY(!pay.creating());
    }

    void createdThenPendingThenPaid()
    {
        Fixture f;
        QVERIFY(f.sim.started());
        QSignalSpy created(&f.pay, &QrPayment::created);
        QSignalSpy paid(&f.pay, &QrPayment::paid);
        QCOMPARE(f.pay.start(Wechat), QString());
        QVERIFY(f.pay.creating());
        QTRY_COMPARE(created.size(), 1);
        const CreateAnswer a = created.at(0).at(0).value<CreateAnswer>();
        QVERIFY(a.url.startsWith(f.sim.base + "/pay?id="));
        QCOMPARE(f.pay.paymentId(), a.url.section('=', -1));
        QVERIFY(f.pay.ordid().startsWith("PS"));
        QVERIFY(f.pay.polling());

        // What reached the service: cookie, fen, the Chinese title decoded.
        const QJsonObject sent = f.sim.payments().at(0).toObject();
        QCOMPARE(sent.value("cookie").toString(),
                 QString("lumo_member_uname=小店;lumo_member_upwd=0123abcd"));
        QCOMPARE(sent.value("price").toString(), QString("1234"));
        QCOMPARE(sent.value("allprice").toString(), QString("2000"));
        QCOMPARE(sent.value("title").toString(), QString("红烧肉"));
        QCOMPARE(sent.value("isalipay").toString(), QString("0"));

        // Still unpaid after the first checks.
        QTest::qWait(1500);
        QVERIFY(paid.isEmpty());
        QVERIFY(f.pay.polling());
        QVERIFY(f.sim.open_link(a.url));
        QTRY_COMPARE_WITH_TIMEOUT(paid.size(), 1, 5000);
        const CheckAnswer c = paid.at(0).at(0).value<CheckAnswer>();
        QCOMPARE(c.paytype, QString("1"));
        QCOMPARE(c.price, QString("12.34"));
        QCOMPARE(c.msg, QString("支付成功"));
        QVERIFY(!f.pay.polling());
    }

    void stoppedPaymentIsNotReported()
    {
        Fixture f;
        QSignalSpy created(&f.pay, &QrPayment::created);
        QSignalSpy paid(&f.pay, &QrPayment::paid);
        f.pay.start(Wechat);
        QTRY_COMPARE(created.size(), 1);
        f.pay.stop();
        QVERIFY(f.sim.open_link(created.at(0).at(0).value<CreateAnswer>().url));
        QTest::qWait(3500);
        QVERIFY(paid.isEmpty());
        QVERIFY(!f.pay.pollTimer().isActive());
    }

    void creationFailures_data()
    {
        QTest::addColumn<QStringList>("switches");
        QTest::addColumn<int>("timeout_ms");
        QTest::addColumn<QString>("message");
        QTest::newRow("service down")
            << QStringList{"--unavailable"} << 10000 << QString(NetworkMessage);
        QTest::newRow("garbage") << QStringList{"--garbage"} << 10000 << QString(NetworkMessage);
        QTest::newRow("too slow") << QStringList{"--slow", "2000"} << 300
                                  << QString(NetworkMessage);
        QTest::newRow("refused") << QStringList{"--refuse", "商户未开通在线支付"} << 10000
                                 << "商户未开通在线支付";
    }
    void creationFailures()
    {
        QFETCH(QStringList, switches);
        QFETCH(int, timeout_ms);
        QFETCH(QString, message);
        Fixture f(switches);
        QVERIFY(f.sim.started());
        f.pay.client().setReadTimeoutMs(timeout_ms);
        QSignalSpy failed(&f.pay, &QrPayment::failed);
        QSignalSpy created(&f.pay, &QrPayment::created);
        f.pay.start(Wechat);
        QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, 5000);
        QCOMPARE(failed.at(0).at(0).toString(), message);
        QVERIFY(created.isEmpty());
        QVERIFY(!f.pay.creating() && !f.pay.polling());
    }

    void aLinkNoCodeCanHoldIsNotPolled()
    {
        // A service answering every request with a payment link far too long for a
        // version 10 code.
        QTcpServer srv;
        QVERIFY(srv.listen(QHostAddress::LocalHost, 0));
        const QByteArray body = "{\"status\":1,\"data\":5,\"ordid\":\"W5\",\"url\":\"http://x/"
                                + QByteArray(2000, 'a') + "\"}";
        connect(&srv, &QTcpServer::newConnection, &srv, [&] {
            while (QTcpSocket *s = srv.nextPendingConnection())
                connect(s, &QTcpSocket::readyRead, s, [s, body] {
                    s->readAll();
                    s->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size())
                             + "\r\nConnection: close\r\n\r\n" + body);
                    s->disconnectFromHost();
                });
        });
        TestProgram p;
        p.ctx.settings.payservice_url = QStringLiteral("http://127.0.0.1:%1").arg(srv.serverPort());
        QrPayment pay(p.ctx);
        bool recorded = false;
        pay.setOnCreated([&](const CreateAnswer &) { return recorded = true; });
        QSignalSpy failed(&pay, &QrPayment::failed);
        QSignalSpy created(&pay, &QrPayment::created);
        pay.start(Wechat);
        QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, 5000);
        QCOMPARE(failed.at(0).at(0).toString(), QString(LinkTooLongMessage));
        QVERIFY(created.isEmpty());
        QVERIFY(!recorded);
        QVERIFY(!pay.polling());
    }

    void failedChecksAreRepeatedAndLogged()
    {
        TestProgram p;
        p.ctx.service = {"shop", "x"};
        QrPayment pay(p.ctx);
        QSignalSpy created(&pay, &QrPayment::created);
        {
            PaySimProcess sim;
            p.ctx.settings.payservice_url = sim.base;
            pay.start(Wechat);
            QTRY_COMPARE(created.size(), 1);
        } // the service goes away before the first check
        const QString log = p.ctx.paths.log + "errormessage.txt";
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(log), 5000);
        QFile f(log);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(f.readAll())
                    .startsWith(check_pay_url(
                        p.ctx.settings.payservice_url, pay.paymentId(), pay.ordid())));
        QTRY_VERIFY(pay.pollTimer().isActive());
        QVERIFY(pay.polling());
        QCOMPARE(pay.pollTimer().interval(), QrPayment::NextPollMs);
    }
};

QTEST_GUILESS_MAIN(TestQrPay)
#include "tst_qrpay.moc"
