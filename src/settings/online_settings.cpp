#include "settings/online_settings.h"

#include "app/helpers.h"
#include "checkout/qrpay.h"
#include "store/sqlite_db.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

QString online_settings_read_url(const QString &base)
{
    return base + QStringLiteral("/index.php?s=Member&a=index_json");
}

QString online_settings_save_url(const QString &base)
{
    return base + QStringLiteral("/index.php?s=Member&a=modify_json");
}

QString default_print_url(const QString &base)
{
    return base + QStringLiteral("/index.php?s=ApiSoft&a=default_json");
}

namespace {

// Reads "status" and "msg"; returns the parsed object when the status is 1.
ServiceAnswer answer_of(const QString &text, QString &msg, QJsonObject &out)
{
    if (!text.contains(QLatin1String("\"status\"")))
        return ServiceAnswer::Unreachable;
    out = QJsonDocument::fromJson(text.toUtf8()).object();
    msg = member_text(text, out, QStringLiteral("msg"));
    return status_is_one(out) ? ServiceAnswer::Ok : ServiceAnswer::Refused;
}

// The answer's "data" member, read field by field as text.
struct AnswerData
{
    const QString &text;
    QJsonObject data;
    QString operator()(const char *key) const
    {
        return member_text(text, data, QString::fromLatin1(key));
    }
};

// Trimmed and without single quotes.
QString cleaned(const QString &text)
{
    return strip_quotes(text);
}

// The keys are multi-line (a PEM key needs its line breaks): cleaned line by line,
// with the lines kept and CRLF ends made LF.
QString cleaned_key(const QString &text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &line : lines)
        line = strip_quotes(line);
    return lines.join(QLatin1Char('\n')).trimmed();
}

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

OnlineRead read_online_settings(const QString &text)
{
    OnlineRead r;
    QJsonObject o;
    r.answer = answer_of(text, r.msg, o);
    if (r.answer != ServiceAnswer::Ok)
        return r;
    const AnswerData get{text, o.value(QStringLiteral("data")).toObject()};
    OnlineSettings &s = r.settings;
    s.wx_appid = get("wx_appid");
    s.wx_mchid = get("wx_mchid");
    s.wx_paykey = get("wx_paykey");
    s.alipay_appid = get("alipay_appid");
    s.alipay_paykey = get("alipay_paykey");
    s.alipay_pubkey = get("alipay_pubkey");
    s.wx_ispay = get("wx_ispay").trimmed() == QLatin1String("1");
    s.alipay_ispay = get("alipay_ispay").trimmed() == QLatin1String("1");
    return r;
}

FormFields online_settings_fields(const OnlineSettings &s)
{
    return {{QStringLiteral("wx_appid"), cleaned(s.wx_appid)},
            {QStringLiteral("wx_mchid"), cleaned(s.wx_mchid)},
            {QStringLiteral("wx_paykey"), cleaned(s.wx_paykey)},
            {QStringLiteral("alipay_appid"), cleaned(s.alipay_appid)},
            {QStringLiteral("alipay_paykey"), cleaned_key(s.alipay_paykey)},
            {QStringLiteral("wx_ispay"), flag(s.wx_ispay)},
            {QStringLiteral("alipay_ispay"), flag(s.alipay_ispay)},
            {QStringLiteral("alipay_pubkey"), cleaned_key(s.alipay_pubkey)}};
}

OnlineSaved read_online_saved(const QString &text)
{
    OnlineSaved r;
    QJsonObject o;
    r.answer = answer_of(text, r.msg, o);
    return r;
}

DefaultPrint read_default_print(const QString &text)
{
    DefaultPrint r;
    QJsonObject o;
    r.answer = answer_of(text, r.msg, o);
    if (r.answer != ServiceAnswer::Ok)
        return r;
    const AnswerData get{text, o.value(QStringLiteral("data")).toObject()};
    r.kdstr = get("keda");
    r.cdstr = get("chuda");
    r.kdtop = get("keda_top");
    r.cdtop = get("chuda_top");
    r.kdprintnums = get("keda_hnums");
    r.cdprintnums = get("chuda_hnums");
    r.kdhj = get("keda_hj");
    r.cdhj = get("chuda_hj");
    return r;
}

QString payservice_url_problem(const QString &url)
{
    const QString t = url.trimmed();
    if (t.isEmpty())
        return {};
    const QUrl u(t, QUrl::StrictMode);
    const QString scheme = u.scheme().toLower();
    if (!u.isValid() || u.host().isEmpty()
        || (scheme != QLatin1String("http") && scheme != QLatin1String("https")) || u.hasQuery()
        || u.hasFragment())
        return QStringLiteral("支付服务地址格式错误，请填写如 http://192.168.1.10:8090 的地址");
    return {};
}

void save_service_account(AppContext &ctx, const QString &username, const QString &password)
{
    ServiceAccount account;
    account.username = cleaned(username);
    account.encmd5 = password.isEmpty() ? ctx.service.encmd5 : md5_hex(password.toUtf8());
    if (account.username == ctx.service.username && account.encmd5 == ctx.service.encmd5)
        return; // unchanged: no write, so a busy shared database does not hold up the save
    TSQLiteDatabase db(ctx.db_path);
    db.transaction([&] {
        // The row start-up reads the account from; made when it is missing.
        if (db.scalar(QStringLiteral("SELECT count(*) FROM lumo_system WHERE id=1"))
            == QLatin1String("0"))
            db.ExecSQL(QStringLiteral("INSERT INTO lumo_system(id,username,rndstr,encmd5,shopname) "
                                      "VALUES(1,'','','','')"));
        db.ExecSQL(QStringLiteral("UPDATE lumo_system SET username=?,encmd5=? WHERE id=1"),
                   {account.username, account.encmd5});
    });
    ctx.service = account;
}
