#include "checkout/qrpay.h"

#include "checkout/qr_code.h"
#include "store/sqlite_db.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QRegularExpression>

#include <cmath>

QString pay_cookie(const ServiceAccount &account)
{
    return QStringLiteral("lumo_member_uname=") + account.username
           + QStringLiteral(";lumo_member_upwd=") + account.encmd5;
}

QString fen_text(double yuan)
{
    return general_decimal(yuan * 100);
}

QString pay_service_base(const Settings &settings)
{
    QString base = settings.payservice_url.trimmed();
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}

QString create_pay_url(const QString &base, const QString &isalipay)
{
    return base + QStringLiteral("/index.php?s=Weixinpays&a=pay_json&isalipay=") + isalipay;
}

QString check_pay_url(const QString &base, const QString &id, const QString &ordid)
{
    return base + QStringLiteral("/index.php?s=Weixinpays&a=check_pay_json&id=") + id
           + QStringLiteral("&ordid=") + ordid;
}

FormFields create_pay_fields(double price, double allprice, const QString &title)
{
    return {{QStringLiteral("price"), fen_text(price)},
            {QStringLiteral("allprice"), fen_text(allprice)},
            {QStringLiteral("title"), title}};
}

namespace {

// Index just past the JSON string that starts at i (a '"'), or -1.
qsizetype skip_string(const QString &t, qsizetype i)
{
    for (++i; i < t.size(); ++i) {
        if (t[i] == QLatin1Char('\\'))
            ++i;
        else if (t[i] == QLatin1Char('"'))
            return i + 1;
    }
    return -1;
}

} // namespace

QString top_level_text(const QString &raw, const QString &key)
{
    qsizetype i = raw.indexOf(QLatin1Char('{'));
    if (i < 0)
        return {};
    ++i;
    // Members of the outer object only: what nested objects and arrays hold is skipped.
    while (i < raw.size()) {
        while (i < raw.size() && (raw[i].isSpace() || raw[i] == QLatin1Char(',')))
            ++i;
        if (i >= raw.size() || raw[i] != QLatin1Char('"'))
            return {};
        const qsizetype name_end = skip_string(raw, i);
        if (name_end < 0)
            return {};
        const QString name = raw.mid(i + 1, name_end - i - 2);
        i = name_end;
        while (i < raw.size() && raw[i].isSpace())
            ++i;
        if (i >= raw.size() || raw[i] != QLatin1Char(':'))
            return {};
        const qsizetype start = ++i;
        int depth = 0;
        for (; i < raw.size(); ++i) {
            const QChar c = raw[i];
            if (c == QLatin1Char('"')) {
                i = skip_string(raw, i);
                if (i < 0)
                    return {};
                --i;
            } else if (c == QLatin1Char('{') || c == QLatin1Char('[')) {
                ++depth;
            } else if (c == QLatin1Char('}') || c == QLatin1Char(']')) {
                if (depth == 0)
                    break;
                --depth;
            } else if (c == QLatin1Char(',') && depth == 0) {
                break;
            }
        }
        if (name == key)
            return raw.mid(start, i - start).trimmed();
        if (i >= raw.size() || raw[i] == QLatin1Char('}'))
            return {};
    }
    return {};
}

QString member_text(const QString &raw, const QJsonObject &o, const QString &key)
{
    const QJsonValue v = o.value(key);
    if (v.isString())
        return v.toString();
    if (v.isDouble()) {
        // Keep the digits of the answer itself, so a large id survives unchanged; only
        // the outer object's own member counts, never one nested in it.
        static const QRegularExpression number(
            QStringLiteral("^-?\\d+(\\.\\d+)?([eE][-+]?\\d+)?$"));
        const QString digits = top_level_text(raw, key);
        return number.match(digits).hasMatch() ? digits : QString::number(v.toDouble(), 'g', 17);
    }
    if (v.isBool())
        return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    if (v.isObject() || v.isArray())
        return QString::fromUtf8(v.isObject()
                                     ? QJsonDocument(v.toObject()).toJson(QJsonDocument::Compact)
                                     : QJsonDocument(v.toArray()).toJson(QJsonDocument::Compact));
    return QString();
}

bool status_is_one(const QJsonObject &o)
{
    const QJsonValue v = o.value(QStringLiteral("status"));
    if (v.isDouble())
        return v.toDouble() == 1;
    return v.isString() && v.toString().trimmed() == QLatin1String("1");
}

QString pay_type_code(const QString &reported)
{
    bool ok = false;
    const double v = reported.trimmed().toDouble(&ok);
    if (ok && v == std::floor(v) && ((v >= 1 && v <= 7) || v == 9))
        return QString::number(qint64(v));
    return reported;
}

CreateAnswer read_create_answer(const QString &text)
{
    CreateAnswer a;
    if (!text.contains(QLatin1String("\"status\""))) {
        a.message = QString::fromUtf8(NetworkMessage);
        return a;
    }
    const QJsonObject o = QJsonDocument::fromJson(text.toUtf8()).object();
    if (!status_is_one(o)) {
        a.kind = CreateAnswer::Refused;
        a.message = member_text(text, o, QStringLiteral("msg"));
        if (a.message.isEmpty()) // garbage or a bare refusal still gets a message
            a.message = QStringLiteral("支付服务未能创建支付");
        return a;
    }
    a.kind = CreateAnswer::Created;
    a.id = member_text(text, o, QStringLiteral("data"));
    a.ordid = member_text(text, o, QStringLiteral("ordid"));
    a.url = member_text(text, o, QStringLiteral("url"));
    return a;
}

CheckAnswer read_check_answer(const QString &text)
{
    CheckAnswer a;
    if (!text.contains(QLatin1String("\"status\":")))
        return a;
    const QJsonObject o = QJsonDocument::fromJson(text.toUtf8()).object();
    a.paid = status_is_one(o);
    a.msg = member_text(text, o, QStringLiteral("msg"));
    a.paytype = pay_type_code(member_text(text, o, QStringLiteral("paytype")));
    a.price = member_text(text, o, QStringLiteral("price"));
    return a;
}

QrPayment::QrPayment(AppContext &ctx, QObject *parent)
    : QObject(parent)
    , m_ctx(ctx)
    , m_client(ctx.paths.log)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &QrPayment::check_paystat);
}

void QrPayment::setState(State s)
{
    const bool was = m_state != State::Idle;
    m_state = s;
    if (was != (s != State::Idle))
        emit busyChanged(s != State::Idle);
}

QString QrPayment::start(const PayRequest &request)
{
    if (request.price < 0.01)
        return QString::fromUtf8(BadAmountMessage);
    const QString base = pay_service_base(m_ctx.settings);
    if (base.isEmpty())
        return QString::fromUtf8(NoServiceMessage);

    stop();
    m_base = base;
    const quint64 generation = ++m_generation;
    setState(State::Creating);
    m_client.http_post(create_pay_url(base, request.isalipay),
                       pay_cookie(m_ctx.service),
                       create_pay_fields(request.price, request.allprice, request.title),
                       this,
                       [this, generation](const QString &body) {
                           if (generation != m_generation)
                               return;
                           const CreateAnswer a = read_create_answer(body);
                           if (a.kind != CreateAnswer::Created) {
                               setState(State::Idle);
                               emit failed(a.message);
                               return;
                           }
                           // A link no code can hold is no payment a guest can make:
                           // nothing is recorded or polled.
                           if (qr_modules(a.url).size == 0) {
                               setState(State::Idle);
                               emit failed(QString::fromUtf8(LinkTooLongMessage));
                               return;
                           }
                           m_id = a.id;
                           m_ordid = a.ordid;
                           if (m_on_created && !m_on_created(a)) {
                               setState(State::Idle);
                               return;
                           }
                           setState(State::Polling);
                           m_timer.start(FirstPollMs);
                           emit created(a);
                       });
    return QString();
}

void QrPayment::stop()
{
    ++m_generation;
    m_timer.stop();
    setState(State::Idle);
}

void QrPayment::check_paystat()
{
    m_timer.stop();
    if (m_state != State::Polling)
        return;
    if (m_keep && !m_keep()) {
        stop();
        return;
    }
    const quint64 generation = m_generation;
    m_client.http_get(check_pay_url(m_base, m_id, m_ordid),
                      pay_cookie(m_ctx.service),
                      this,
                      [this, generation](const QString &body) {
                          if (generation != m_generation || m_state != State::Polling)
                              return;
                          const CheckAnswer a = read_check_answer(body);
                          if (a.paid) {
                              ++m_generation;
                              setState(State::Idle);
                              emit paid(a);
                              return;
                          }
                          m_timer.start(NextPollMs);
                      });
}
