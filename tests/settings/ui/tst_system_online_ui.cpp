// The settings window against the payment-service stand-in: the online payment
// settings read when the window shows and sent on saving, the service's address and
// account, and the default print layout.
#include "app/helpers.h"
#include "app/ini.h"
#include "app/ui/toast.h"
#include "board/ui/tform_main.h"
#include "checkout/http_client.h"
#include "checkout/ui/qr_decode.h"
#include "settings/ui/online_pay_panel.h"
#include "settings/ui/tform_system.h"
#include "support/paysim_process.h"
#include "support/ui/guikit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

const char *const Stored
    = R"({"wx_appid":"wx8a1f2e3d4c5b6a79","wx_mchid":"1601234567",)"
      R"("wx_paykey":"a8F3kL9qP2mN7xR4tV6wY1zB5cD0eG3h","alipay_appid":"2021004123456789",)"
      R"("alipay_paykey":"MIIEvQIBADANBgkqhkiG9w0BAQEFAASC","alipay_pubkey":"MIIBIjANBgkqhkiG9w0BAQEF",)"
      R"("wx_ispay":"1","alipay_ispay":"0"})";
const QStringList StoredShown{"wx8a1f2e3d4c5b6a79",
                              "1601234567",
                              "a8F3kL9qP2mN7xR4tV6wY1zB5cD0eG3h",
                              "2021004123456789",
                              "MIIEvQIBADANBgkqhkiG9w0BAQEFAASC",
                              "MIIBIjANBgkqhkiG9w0BAQEF",
                              "1",
                              "0"};

struct SettingsWindow : GuiProgram
{
    // The service at url with the account shop1 / secret.
    void use(const QString &url)
    {
        ctx.settings.payservice_url = url;
        IniFile(ctx.paths.ini).writeString("Payservice", "url", url);
        ctx.service = {"shop1", md5_hex("secret")};
    }
    TForm_system *window() const { return forms->system; }
    OnlinePayPanel *panel() const { return window()->findChild<OnlinePayPanel *>(); }
    void open()
    {
        forms->main->show();
        window()->open_centred();
    }
    void reopen()
    {
        window()->hide();
        window()->open_centred();
    }
    template<class W = QLineEdit> W *w(const QString &name) const
    {
        W *found = window()->findChild<W *>(name);
        if (!found)
            qFatal("no widget %s", qPrintable(name));
        return found;
    }
    QString text(const QString &name) const { return w(name)->text(); }
    void type(const QString &name, const QString &t) const
    {
        QLineEdit *e = w(name);
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, t);
    }
    void press(const QString &name) const { click(w<QPushButton>("Button_" + name)); }
    QString state() const { return w<QLabel>("Label_online_state")->text(); }
    bool editable() const { return w<QGroupBox>("GroupBox_wxpay")->isEnabled(); }
    // The eight online values as shown, the switches as 1/0.
    QStringList shown() const
    {
        return {text("Edit_wx_appid"),
                text("Edit_wx_mchid"),
                text("Edit_wx_paykey"),
                text("Edit_alipay_appid"),
                w<QPlainTextEdit>("Memo_alipay_paykey")->toPlainText(),
                w<QPlainTextEdit>("Memo_alipay_pubkey")->toPlainText(),
                w<QRadioButton>("Radio_wx_on")->isChecked() ? "1" : "0",
                w<QRadioButton>("Radio_alipay_on")->isChecked() ? "1" : "0"};
    }
    QString toast() const { return forms->toast->isShown() ? forms->toast->text() : QString(); }
};

// The settings saves the stand-in received, each as its "name=value" fields.
QList<QStringList> saves(const PaySimProcess &sim)
{
    QList<QStringList> out;
    const QJsonArray list
        = QJsonDocument::fromJson(sim.get("/settings_saves").toUtf8()).object()["saves"].toArray();
    for (const QJsonValue &save : list) {
        QStringList fields;
        for (const QJsonValue &f : save.toObject()["fields"].toArray())
            fields << f.toArray()[0].toString() + "=" + f.toArray()[1].toString();
        out << fields;
    }
    return out;
}

} // namespace

class TestSystemOnlineUi : public QObject
{
    Q_OBJECT

private slots:
    void readFillsAndSaveSendsCleaned()
    {
        PaySimProcess sim({"--settings", Stored});
        QVERIFY(sim.started());
        SettingsWindow s;
        s.use(sim.base);
        s.ctx.settings.shopname = "老街小馆";
        s.ctx.settings.shopaddress = "人民路1号";
        s.ctx.settings.shoptel = "0571-88886666";
        s.open();
        QVERIFY(!s.editable()); // nothing read yet
        QTRY_COMPARE(s.shown(), StoredShown);
        QVERIFY(s.editable());
        QCOMPARE(s.state(), QString("已读取支付服务中的在线支付设置"));
        QCOMPARE(s.text("Edit_payservice_url"), sim.base);
        QCOMPARE(s.text("Edit_service_username"), QString("shop1"));
        QCOMPARE(s.text("Edit_service_password"), QString()); // never the digest
        keep_screenshot(s.window(), "settings-window.png");

        s.type("Edit_wx_appid", " wx'9b ");
        s.type("Edit_wx_mchid", "'1602' ");
        s.w<QPlainTextEdit>("Memo_alipay_paykey")->setPlainText("\n-----KEY-----\nA'B\n");
        GuiProgram::click(s.w<QRadioButton>("Radio_wx_off"));
        GuiProgram::click(s.w<QRadioButton>("Radio_alipay_on"));
        s.press("save");
        QCOMPARE(s.toast(), QString("配置保存成功"));
        QTRY_COMPARE(s.state(), QString("在线支付设置已保存到支付服务"));
        QCOMPARE(saves(sim),
                 (QList<QStringList>{{"wx_appid=wx9b",
                                      "wx_mchid=1602",
                                      "wx_paykey=a8F3kL9qP2mN7xR4tV6wY1zB5cD0eG3h",
                                      "alipay_appid=2021004123456789",
                                      "alipay_paykey=-----KEY-----\nAB",
                                      "wx_ispay=0",
                                      "alipay_ispay=1",
                                      "alipay_pubkey=MIIBIjANBgkqhkiG9w0BAQEF"}}));
        QCOMPARE(s.toast(), QString("配置保存成功"));

        // Shown again: what the service holds now, both switches as it says.
        s.reopen();
        QStringList now = StoredShown;
        now[0] = "wx9b";
        now[1] = "1602";
        now[4] = "-----KEY-----\nAB";
        now[6] = "0";
        now[7] = "1";
        QTRY_COMPARE(s.shown(), now);
    }

    void addressAndAccountReachTheService()
    {
        PaySimProcess sim({"--settings", Stored});
        SettingsWindow s;
        s.open();
        QVERIFY(s.state().startsWith("未设置支付服务地址"));
        QVERIFY(!s.editable());

        s.type("Edit_payservice_url", sim.base);
        s.type("Edit_service_username", "shop1");
        s.type("Edit_service_password", "secret");
        s.press("save");
        QCOMPARE(s.toast(), QString("配置保存成功"));
        QCOMPARE(IniFile(s.ctx.paths.ini).readString("Payservice", "url"), sim.base);
        QCOMPARE(s.scalar("SELECT username||'/'||encmd5 FROM lumo_system WHERE id=1"),
                 "shop1/" + md5_hex("secret"));
        QCOMPARE(s.text("Edit_service_password"), QString());
        // The new service's settings are read, not overwritten with the empty fields.
        QTRY_COMPARE(s.shown(), StoredShown);
        QCOMPARE(saves(sim), QList<QStringList>());

        // Another account: what that account holds is read before anything is sent.
        s.type("Edit_service_username", "shop2");
        s.press("save");
        QTRY_COMPARE(s.state(), QString("已读取支付服务中的在线支付设置"));
        QCOMPARE(saves(sim), QList<QStringList>());
        s.press("save");
        QTRY_COMPARE(saves(sim).size(), 1);
        QCOMPARE(s.scalar("SELECT username||'/'||encmd5 FROM lumo_system WHERE id=1"),
                 "shop2/" + md5_hex("secret"));
    }

    void serviceProblemsLeaveFieldsAndLocalSave_data()
    {
        QTest::addColumn<QStringList>("switches");
        QTest::addColumn<QString>("state");
        const QString down = "无法连接支付服务，在线支付设置未读取。可能是网络错误，请检查您的网络";
        QTest::newRow("down") << QStringList{"down"} << down;
        QTest::newRow("unavailable") << QStringList{"--unavailable"} << down;
        QTest::newRow("garbage") << QStringList{"--garbage"} << down;
        QTest::newRow("too slow") << QStringList{"--slow", "3000"} << down;
    }
    void serviceProblemsLeaveFieldsAndLocalSave()
    {
        QFETCH(QStringList, switches);
        QFETCH(QString, state);
        PaySimProcess good({"--settings", Stored});
        SettingsWindow s;
        s.use(good.base);
        s.open();
        QTRY_COMPARE(s.shown(), StoredShown);

        const bool down = switches == QStringList{"down"};
        PaySimProcess bad(down ? QStringList() : switches);
        s.use(down ? QString("http://127.0.0.1:%1").arg(closed_port()) : bad.base);
        s.panel()->client().setReadTimeoutMs(1000);
        s.reopen();
        QCOMPARE(s.state(), QString("正在读取在线支付设置…"));

        // The window works while the request waits: the local save is applied at once.
        s.type("Edit_time_tb", "4");
        s.press("save");
        QCOMPARE(s.toast(), QString("配置保存成功"));
        QCOMPARE(IniFile(s.ctx.paths.ini).readString("System", "time_tb"), QString("4"));
        QCOMPARE(s.ctx.settings.time_tb, 4);

        QTRY_COMPARE_WITH_TIMEOUT(s.state(), state, 4000);
        QCOMPARE(s.shown(), StoredShown);
        QVERIFY(!s.editable());
        QCOMPARE(saves(good), QList<QStringList>());
    }

    void failedOnlineSaveSaysSo()
    {
        auto sim = std::make_unique<PaySimProcess>(QStringList{"--settings", Stored});
        SettingsWindow s;
        s.use(sim->base);
        s.ctx.settings.is_time_tb = 0;
        s.open();
        QTRY_VERIFY(s.editable());
        sim.reset(); // the service goes away after the read

        s.type("Edit_time_tb", "7");
        auto *sync = s.w<QCheckBox>("Check_is_time_tb");
        QTest::mouseClick(sync, Qt::LeftButton, Qt::NoModifier, QPoint(8, sync->height() / 2));
        s.press("save");
        QCOMPARE(s.toast(), QString("配置保存成功"));
        // The sync timer takes the new settings whatever the service answers.
        QVERIFY(s.forms->main->sync_timer()->isActive());
        QCOMPARE(s.forms->main->sync_timer()->interval(), 7000);
        QTRY_COMPARE(s.toast(), QString("在线支付设置保存失败：可能是网络错误，请检查您的网络"));
        QCOMPARE(IniFile(s.ctx.paths.ini).readString("System", "time_tb"), QString("7"));
    }

    void defaultPrintLayoutFromTheService_data()
    {
        QTest::addColumn<QString>("service");
        QTest::addColumn<QString>("toast");
        QTest::addColumn<QString>("kdstr");
        QTest::newRow("answered") << "sim"
                                  << ""
                                  << "0.0,3.1,3.7";
        QTest::newRow("no address") << ""
                                    << "请在系统设置中设置支付服务地址"
                                    << "1,2,3";
        QTest::newRow("down") << "down"
                              << "可能是网络错误，请检查您的网络"
                              << "1,2,3";
    }
    void defaultPrintLayoutFromTheService()
    {
        QFETCH(QString, service);
        QFETCH(QString, toast);
        QFETCH(QString, kdstr);
        PaySimProcess sim;
        SettingsWindow s;
        s.use(service == "sim"    ? sim.base
              : service == "down" ? QString("http://127.0.0.1:%1").arg(closed_port())
                                  : QString());
        s.open();
        const QByteArray before = IniFile(s.ctx.paths.ini).readString("Print", "kdstr").toUtf8();
        s.type("Edit_kdstr", "1,2,3");
        s.type("Edit_cdhj", "9");
        s.type("Edit_kdprintnums", "12");
        s.press("defaults");
        QTRY_COMPARE(s.text("Edit_kdstr"), kdstr);
        if (service == "sim") {
            QCOMPARE(s.text("Edit_cdhj"), QString("0.45"));
            QCOMPARE(s.text("Edit_kdprintnums"), QString("1000"));
        } else {
            QTRY_COMPARE(s.toast(), toast);
            QCOMPARE(s.text("Edit_cdhj"), QString("9"));
        }
        // Nothing is kept until saved.
        QCOMPARE(IniFile(s.ctx.paths.ini).readString("Print", "kdstr").toUtf8(), before);
    }
};

QTEST_MAIN(TestSystemOnlineUi)
#include "tst_system_online_ui.moc"
