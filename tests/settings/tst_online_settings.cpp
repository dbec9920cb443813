// The online payment settings' requests and answers, the service address check and
// the service account, without a window.
#include "app/ini.h"
#include "settings/online_settings.h"
#include "settings/system_settings.h"
#include "support/testkit.h"

#include <QTest>

namespace {

QString settings_answer(const QString &data, const QString &status = "1")
{
    return QString(R"({"status":%1,"msg":"ok","data":%2})").arg(status, data);
}

QStringList pairs(const FormFields &fields)
{
    QStringList out;
    for (const auto &[k, v] : fields)
        out << k + "=" + v;
    return out;
}

} // namespace

class TestOnlineSettings : public QObject
{
    Q_OBJECT

private slots:
    void readAnswers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("msg");
        QTest::addColumn<QStringList>("values"); // six texts, then the two switches
        const QString full = R"({"wx_appid":"wx8a","wx_mchid":"1601","wx_paykey":"K1",)"
                             R"("alipay_appid":"2021","alipay_paykey":"PRIV\nKEY",)"
                             R"("alipay_pubkey":"PUB","wx_ispay":"1","alipay_ispay":"0",)"
                             R"("shopid":"9"})";
        const QStringList filled{"wx8a", "1601", "K1", "2021", "PRIV\nKEY", "PUB", "1", "0"};
        const QStringList empty{"", "", "", "", "", "", "0", "0"};
        QTest::newRow("filled") << settings_answer(full) << int(ServiceAnswer::Ok) << "ok"
                                << filled;
        QTest::newRow("status as text")
            << settings_answer(full, R"("1")") << int(ServiceAnswer::Ok) << "ok" << filled;
        QTest::newRow("numbers and missing members")
            << settings_answer(R"({"wx_mchid":1601,"wx_ispay":0,"alipay_ispay":1})")
            << int(ServiceAnswer::Ok) << "ok" << QStringList{"", "1601", "", "", "", "", "0", "1"};
        QTest::newRow("refused") << R"({"status":0,"msg":"请先登录支付服务账号"})"
                                 << int(ServiceAnswer::Refused) << "请先登录支付服务账号" << empty;
        QTest::newRow("no answer") << "" << int(ServiceAnswer::Unreachable) << "" << empty;
        QTest::newRow("not the service")
            << "<html>status: not json</html>" << int(ServiceAnswer::Unreachable) << "" << empty;
    }
    void readAnswers()
    {
        QFETCH(QString, text);
        QFETCH(int, answer);
        QFETCH(QString, msg);
        QFETCH(QStringList, values);
        const OnlineRead r = read_online_settings(text);
        QCOMPARE(int(r.answer), answer);
        QCOMPARE(r.msg, msg);
        const OnlineSettings &s = r.settings;
        QCOMPARE(QStringList({s.wx_appid,
                              s.wx_mchid,
                              s.wx_paykey,
                              s.alipay_appid,
                              s.alipay_paykey,
                              s.alipay_pubkey,
                              s.wx_ispay ? "1" : "0",
                              s.alipay_ispay ? "1" : "0"}),
                 values);
    }

    void saveFormIsCleanedAndInOrder()
    {
        OnlineSettings s;
        s.wx_appid = " wx'8a ";
        s.wx_mchid = "\t'1601'";
        s.wx_paykey = "K1 ";
        s.alipay_appid = " 20'21";
        s.alipay_paykey = "\n-----BEGIN KEY-----\r\nAB'CD\n-----END KEY-----\n";
        s.alipay_pubkey = "  PUB'  ";
        s.alipay_ispay = true;
        QCOMPARE(pairs(online_settings_fields(s)),
                 QStringList({"wx_appid=wx8a",
                              "wx_mchid=1601",
                              "wx_paykey=K1",
                              "alipay_appid=2021",
                              "alipay_paykey=-----BEGIN KEY-----\nABCD\n-----END KEY-----",
                              "wx_ispay=0",
                              "alipay_ispay=1",
                              "alipay_pubkey=PUB"}));
    }

    void saveAndDefaultAnswers()
    {
        QCOMPARE(int(read_online_saved(R"({"status":1,"msg":"保存成功"})").answer),
                 int(ServiceAnswer::Ok));
        const OnlineSaved refused = read_online_saved(R"({"status":0,"msg":"无权修改"})");
        QCOMPARE(int(refused.answer), int(ServiceAnswer::Refused));
        QCOMPARE(refused.msg, QString("无权修改"));
        QCOMPARE(int(read_online_saved("").answer), int(ServiceAnswer::Unreachable));

        const DefaultPrint d = read_default_print(
            R"({"status":1,"msg":"ok","data":{"keda":"0.1,3.2,3.8","chuda":"0,1,2,3,4",)"
            R"("keda_top":"0.2","chuda_top":"0.3","keda_hnums":"40","chuda_hnums":30,)"
            R"("keda_hj":"0.5","chuda_hj":"0.6"}})");
        QCOMPARE(int(d.answer), int(ServiceAnswer::Ok));
        QCOMPARE(
            QStringList(
                {d.kdstr, d.cdstr, d.kdtop, d.cdtop, d.kdprintnums, d.cdprintnums, d.kdhj, d.cdhj}),
            QStringList({"0.1,3.2,3.8", "0,1,2,3,4", "0.2", "0.3", "40", "30", "0.5", "0.6"}));
        QCOMPARE(int(read_default_print(R"({"status":0,"msg":"no"})").answer),
                 int(ServiceAnswer::Refused));
        QCOMPARE(int(read_default_print("").answer), int(ServiceAnswer::Unreachable));
    }

    void endpoints()
    {
        const QString base = "http://10.0.0.5:8090";
        QCOMPARE(online_settings_read_url(base), base + "/index.php?s=Member&a=index_json");
        QCOMPARE(online_settings_save_url(base), base + "/index.php?s=Member&a=modify_json");
        QCOMPARE(default_print_url(base), base + "/index.php?s=ApiSoft&a=default_json");
    }

    void serviceAddress_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("usable");
        QTest::newRow("none") << "" << true;
        QTest::newRow("host and port") << " http://192.168.1.20:8090 " << true;
        QTest::newRow("https with a path") << "https://pay.example.com/shop/" << true;
        QTest::newRow("no scheme") << "192.168.1.20:8090" << false;
        QTest::newRow("other scheme") << "ftp://192.168.1.20" << false;
        QTest::newRow("no host") << "http://" << false;
        QTest::newRow("with a query") << "http://192.168.1.20/index.php?s=Member" << false;
    }
    void serviceAddress()
    {
        QFETCH(QString, url);
        QFETCH(bool, usable);
        QCOMPARE(payservice_url_problem(url).isEmpty(), usable);
    }

    void savedWithTheLocalSettings()
    {
        TestProgram p;
        SystemFields f = fields_for_showing(p.ctx);
        QCOMPARE(f.service_username, QString());
        f.payservice_url = " http://127.0.0.1:8090 ";
        f.service_username = " shop'1 ";
        f.service_password = "secret";
        QCOMPARE(save_system_settings(p.ctx, f).refusal, QString());
        QCOMPARE(IniFile(p.ctx.paths.ini).readString("Payservice", "url"),
                 QString("http://127.0.0.1:8090"));
        QCOMPARE(p.ctx.settings.payservice_url, QString("http://127.0.0.1:8090"));
        const QString digest = "5ebe2294ecd0e0f08eab7690d2a6ee69"; // MD5 of "secret"
        QCOMPARE(p.scalar("SELECT username||'/'||encmd5 FROM lumo_system WHERE id=1"),
                 "shop1/" + digest);
        QCOMPARE(p.ctx.service.username, QString("shop1"));
        QCOMPARE(p.ctx.service.encmd5, digest);

        // Shown again: the name, never the digest; an empty password keeps it.
        f = fields_for_showing(p.ctx);
        QCOMPARE(f.service_username, QString("shop1"));
        QCOMPARE(f.service_password, QString());
        QCOMPARE(f.payservice_url, QString("http://127.0.0.1:8090"));
        f.service_username = "shop2";
        QCOMPARE(save_system_settings(p.ctx, f).refusal, QString());
        QCOMPARE(p.scalar("SELECT username||'/'||encmd5 FROM lumo_system WHERE id=1"),
                 "shop2/" + digest);

        // A bad address refuses the whole save.
        const QByteArray before = IniFile(p.ctx.paths.ini).readString("Print", "kdstr").toUtf8();
        f.payservice_url = "192.168.1.20:8090";
        f.kdstr = "0.5,3.5,4.5";
        f.service_password = "other";
        QCOMPARE(save_system_settings(p.ctx, f).refusal,
                 QString("支付服务地址格式错误，请填写如 http://192.168.1.10:8090 的地址"));
        QCOMPARE(IniFile(p.ctx.paths.ini).readString("Print", "kdstr").toUtf8(), before);
        QCOMPARE(p.scalar("SELECT encmd5 FROM lumo_system WHERE id=1"), digest);
    }
};

QTEST_GUILESS_MAIN(TestOnlineSettings)
#include "tst_online_settings.moc"
