#include "checkout/http_client.h"
#include "support/paysim_process.h"
#include "support/testkit.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

namespace {

// A bare HTTP server: records each request as it came over the wire and answers it
// with the scripted raw response for its path (no answer when there is none).
class RawServer : public QObject
{
public:
    RawServer()
    {
        server.listen(QHostAddress::LocalHost, 0);
        connect(&server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = server.nextPendingConnection())
                connect(s, &QTcpSocket::readyRead, this, [this, s] { read(s); });
        });
    }

    QString url(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(server.serverPort()).arg(path);
    }

    static QByteArray ok(const QByteArray &body)
    {
        return "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: "
               + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    }

    // Header lines of a request, without the request line.
    static QList<QByteArray> headers(const QByteArray &request)
    {
        QList<QByteArray> lines = request.left(request.indexOf("\r\n\r\n")).split('\n');
        lines.removeFirst();
        for (QByteArray &l : lines)
            l = l.trimmed();
        return lines;
    }
    static QByteArray header(const QByteArray &request, const QByteArray &name)
    {
        for (const QByteArray &l : headers(request)) {
            if (l.toLower().startsWith(name.toLower() + ':'))
                return l.mid(name.size() + 1).trimmed();
        }
        return QByteArray();
    }
    static QByteArray body(const QByteArray &request)
    {
        return request.mid(request.indexOf("\r\n\r\n") + 4);
    }

    QTcpServer server;
    QHash<QByteArray, QByteArray> answers; // path with query -> raw response
    QList<QByteArray> requests;

private:
    void read(QTcpSocket *s)
    {
        QByteArray &buf = m_buffers[s];
        buf += s->readAll();
        const qsizetype end = buf.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        const qsizetype length = header(buf, "Content-Length").toLongLong();
        if (buf.size() < end + 4 + length)
            return;
        requests << buf;
        const QByteArray path = buf.left(buf.indexOf("\r\n")).split(' ').value(1);
        buf.clear();
        if (answers.contains(path)) {
            s->write(answers.value(path));
            s->disconnectFromHost();
        }
    }
    QHash<QTcpSocket *, QByteArray> m_buffers;
};

struct Result
{
    bool done = false;
    QString body;
};

HttpClient::Done into(Result &r)
{
    return [&r](const QString &body) {
        r.done = true;
        r.body = body;
    };
}

} // namespace

class TestHttpClient : public QObject
{
    Q_OBJECT

private slots:
    void getSendsTheBrowserHeadersAndTheCookie()
    {
        TestProgram p;
        RawServer srv;
        srv.answers["/index.php?s=Weixinpays&a=check_pay_json&id=7&ordid=A1"]
            = RawServer::ok(QString("{\"status\":0,\"msg\":\"等待支付\"}").toUtf8());
        HttpClient client(p.ctx.paths.log);
        Result r;
        client.http_get(srv.url("/index.php?s=Weixinpays&a=check_pay_json&id=7&ordid=A1"),
                        "lumo_member_uname=shop;lumo_member_upwd=abc123",
                        nullptr,
                        into(r));
        // The call returns at once; the answer arrives through the event loop.
        QVERIFY(!r.done);
        QTRY_VERIFY(r.done);
        QCOMPARE(r.body, QString("{\"status\":0,\"msg\":\"等待支付\"}"));

        QCOMPARE(srv.requests.size(), 1);
        const QByteArray req = srv.requests.first();
        QCOMPARE(req.left(req.indexOf("\r\n")),
                 QByteArray("GET /index.php?s=Weixinpays&a=check_pay_json&id=7&ordid=A1 HTTP/1.1"));
        QCOMPARE(RawServer::header(req, "Accept"),
                 QByteArray("text/html,application/xhtml+xml,application/xml;q=0.9,image/avif,"
                            "image/webp,image/apng,*/*;q=0.8,application/signed-exchange;v=b3;"
                            "q=0.9"));
        QCOMPARE(RawServer::header(req, "User-Agent"),
                 QByteArray("Mozilla/5.0 (Windows NT 6.1; WOW64) AppleWebKit/537.36 (KHTML, like "
                            "Gecko) Chrome/86.0.4240.198 Safari/537.36"));
        QCOMPARE(RawServer::header(req, "Cookie"),
                 QByteArray("lumo_member_uname=shop;lumo_member_upwd=abc123"));
        QVERIFY(!QFile::exists(p.ctx.paths.log + "errormessage.txt"));
    }

    void postSendsTheFormInOrderAsUtf8()
    {
        TestProgram p;
        RawServer srv;
        srv.answers["/index.php?s=Weixinpays&a=pay_json&isalipay=1"] = RawServer::ok("{}");
        HttpClient client(p.ctx.paths.log);
        Result r;
        client.http_post(srv.url("/index.php?s=Weixinpays&a=pay_json&isalipay=1"),
                         "lumo_member_uname=;lumo_member_upwd=",
                         {{"price", "1234"}, {"allprice", "2000"}, {"title", "红烧肉 & 米饭=1"}},
                         nullptr,
                         into(r));
        QTRY_VERIFY(r.done);
        QCOMPARE(r.body, QString("{}"));
        const QByteArray req = srv.requests.value(0);
        QVERIFY(req.startsWith("POST /index.php?s=Weixinpays&a=pay_json&isalipay=1 HTTP/1.1\r\n"));
        QCOMPARE(RawServer::body(req),
                 QByteArray("price=1234&allprice=2000&title=%E7%BA%A2%E7%83%A7%E8%82%89%20%26%20"
                            "%E7%B1%B3%E9%A5%AD%3D1"));
        QCOMPARE(RawServer::header(req, "Content-Type"),
                 QByteArray("application/x-www-form-urlencoded"));
        QCOMPARE(RawServer::header(req, "Accept"),
                 QByteArray("text/html,application/xhtml+xml,application/xml;q=0.9,image/webp,*/"
                            "*;q=0.8"));
        QCOMPARE(RawServer::header(req, "User-Agent"),
                 QByteArray("Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; InfoPath.2; "
                            ".NET CLR 2.0.50727; .NET4.0C; .NET4.0E; .NET CLR 3.0.04506.648; .NET "
                            "CLR 3.5.21022)"));
        QCOMPARE(RawServer::header(req, "Cookie"),
                 QByteArray("lumo_member_uname=;lumo_member_upwd="));
    }

    void redirectsAreFollowed()
    {
        TestProgram p;
        RawServer srv;
        srv.answers["/old"] = "HTTP/1.1 302 Found\r\nLocation: " + srv.url("/new").toUtf8()
                              + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
        srv.answers["/new"] = RawServer::ok("{\"status\":1}");
        HttpClient client(p.ctx.paths.log);
        Result r;
        client.http_get(srv.url("/old"), "c=1", nullptr, into(r));
        QTRY_VERIFY(r.done);
        QCOMPARE(r.body, QString("{\"status\":1}"));
        QCOMPARE(srv.requests.size(), 2);
        QVERIFY(srv.requests.at(1).startsWith("GET /new HTTP/1.1"));
        QCOMPARE(RawServer::header(srv.requests.at(1), "Cookie"), QByteArray("c=1"));
    }

    void failuresGiveEmptyTextAndLogTheGet_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("no answer within the read timeout") << "silent";
        QTest::newRow("connection refused") << "refused";
        QTest::newRow("HTTP 503") << "503";
    }
    void failuresGiveEmptyTextAndLogTheGet()
    {
        QFETCH(QString, kind);
        TestProgram p;
        RawServer srv;
        srv.answers["/x?a=1"] = "HTTP/1.1 503 Service Unavailable\r\nContent-Length: 4\r\n"
                                "Connection: close\r\n\r\nbusy";
        if (kind == "silent")
            srv.answers.clear();
        const QString url = kind == "refused"
                                ? QStringLiteral("http://127.0.0.1:%1/x?a=1").arg(closed_port())
                                : srv.url("/x?a=1");
        HttpClient client(p.ctx.paths.log);
        client.setReadTimeoutMs(300);
        QFile::remove(p.ctx.paths.log + "errormessage.txt");

        Result g;
        client.http_get(url, QString(), nullptr, into(g));
        QTRY_VERIFY(g.done);
        QCOMPARE(g.body, QString());
        QFile log(p.ctx.paths.log + "errormessage.txt");
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines.first().startsWith(url) && lines.first().size() > url.size(),
                 qPrintable(lines.first()));
        log.close();

        // A failed POST answers empty too and leaves the log as it was.
        Result r;
        client.http_post(url, QString(), {{"price", "1"}}, nullptr, into(r));
        QTRY_VERIFY(r.done);
        QCOMPARE(r.body, QString());
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts), lines);
    }

    void overlongAndEndlessAnswersFail_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("an answer beyond 1 MB") << "large";
        QTest::newRow("one byte at a time, never done") << "trickle";
    }
    void overlongAndEndlessAnswersFail()
    {
        QFETCH(QString, kind);
        TestProgram p;
        RawServer srv;
        srv.answers["/big"] = RawServer::ok(QByteArray(1536 * 1024, 'x'));
        // Each byte comes well within the read timeout; the whole never does.
        QTimer drip;
        QTcpServer slow;
        QVERIFY(slow.listen(QHostAddress::LocalHost, 0));
        connect(&slow, &QTcpServer::newConnection, &slow, [&] {
            QTcpSocket *s = slow.nextPendingConnection();
            s->write("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n");
            connect(&drip, &QTimer::timeout, s, [s] { s->write("x"); });
            drip.start(50);
        });
        const QString url = kind == "large"
                                ? srv.url("/big")
                                : QStringLiteral("http://127.0.0.1:%1/drip").arg(slow.serverPort());
        HttpClient client(p.ctx.paths.log);
        client.setReadTimeoutMs(2000);
        client.setDeadlineMs(800);
        Result g;
        QElapsedTimer took;
        took.start();
        client.http_get(url, QString(), nullptr, into(g));
        QTRY_VERIFY_WITH_TIMEOUT(g.done, 5000);
        QCOMPARE(g.body, QString());
        QVERIFY2(took.elapsed() < 2000, qPrintable(QString::number(took.elapsed())));
        QFile log(p.ctx.paths.log + "errormessage.txt");
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(log.readAll()).startsWith(url));
    }

    void aDestroyedCallerIsNotCalledBack()
    {
        TestProgram p;
        RawServer srv;
        srv.answers["/x"] = RawServer::ok("late");
        HttpClient client(p.ctx.paths.log);
        bool called = false;
        auto *owner = new QObject;
        client.http_get(srv.url("/x"), QString(), owner, [&](const QString &) { called = true; });
        delete owner;
        QTRY_COMPARE(srv.requests.size(), 1);
        QTest::qWait(200);
        QVERIFY(!called);
    }
};

QTEST_GUILESS_MAIN(TestHttpClient)
#include "tst_http_client.moc"
