#include "paysim.h"

#include <QDateTime>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>
#include <QTcpSocket>
#include <QTextStream>
#include <QTimer>
#include <QUrlQuery>

namespace {

QByteArray json(const QJsonObject &o)
{
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

// application/x-www-form-urlencoded body, in order; "+" is a blank.
QList<QPair<QString, QString>> form_fields(const QByteArray &body)
{
    QList<QPair<QString, QString>> out;
    for (const QByteArray &part : body.split('&')) {
        if (part.isEmpty())
            continue;
        const qsizetype eq = part.indexOf('=');
        auto decode = [](QByteArray b) {
            b.replace('+', ' ');
            return QString::fromUtf8(QByteArray::fromPercentEncoding(b));
        };
        out.append({decode(part.left(eq < 0 ? part.size() : eq)),
                    eq < 0 ? QString() : decode(part.mid(eq + 1))});
    }
    return out;
}

QString field(const QList<QPair<QString, QString>> &fields, const QString &name)
{
    for (const auto &[k, v] : fields) {
        if (k == name)
            return v;
    }
    return QString();
}

void log_line(const QString &text)
{
    QTextStream(stderr) << QDateTime::currentDateTime().toString("hh:mm:ss ") << text << '\n';
}

} // namespace

PaySim::PaySim(Faults faults, QObject *parent)
    : QObject(parent)
    , m_faults(std::move(faults))
{
    m_settings = QJsonObject{{"wx_appid", ""},
                             {"wx_mchid", ""},
                             {"wx_paykey", ""},
                             {"alipay_appid", ""},
                             {"alipay_paykey", ""},
                             {"alipay_pubkey", ""},
                             {"wx_ispay", "0"},
                             {"alipay_ispay", "0"}};
    for (auto it = m_faults.settings.constBegin(); it != m_faults.settings.constEnd(); ++it) {
        if (m_settings.contains(it.key()))
            m_settings.insert(it.key(), it.value());
    }

    m_server.route(
        "/index.php", [this](const QHttpServerRequest &request, QHttpServerResponder &&responder) {
            log_line(QString::fromUtf8(request.url().toEncoded()));
            QByteArray body;
            QHttpServerResponder::StatusCode status = QHttpServerResponder::StatusCode::Ok;
            if (m_faults.unavailable) {
                body = "service unavailable";
                status = QHttpServerResponder::StatusCode::ServiceUnavailable;
            } else if (m_faults.garbage) {
                body = "<html>status: not json</html>";
            } else {
                body = index(request);
            }
            if (m_faults.delay_ms <= 0) {
                responder.write(body, "application/json; charset=utf-8", status);
                return;
            }
            // A late answer goes out only while the caller still waits.
            auto *late = new QHttpServerResponder(std::move(responder));
            QPointer<QTcpSocket> socket = late->socket();
            QTimer::singleShot(m_faults.delay_ms, this, [late, socket, body, status] {
                if (socket && socket->state() == QAbstractSocket::ConnectedState) {
                    late->write(body, "application/json; charset=utf-8", status);
                    delete late;
                }
                // else: the socket is gone with its responder's connection;
                // the responder is left alone rather than touch a freed socket.
            });
        });
    m_server.route("/pay", [this](const QHttpServerRequest &request) {
        return QHttpServerResponse("text/html; charset=utf-8", pay_page(request));
    });
    m_server.route("/payments", [this] { return QHttpServerResponse(payments_json()); });
    m_server.route("/settings_saves", [this] {
        return QHttpServerResponse(QJsonObject{{"saves", m_saves}});
    });
    // The faults can change while payments are open, as a real service goes down and
    // comes back in the middle of a dinner rush.
    m_server.route("/faults", [this](const QHttpServerRequest &request) {
        return QHttpServerResponse(set_faults(QUrlQuery(request.url())));
    });
}

quint16 PaySim::listen(const QHostAddress &address, quint16 port)
{
    return m_server.listen(address, port);
}

QByteArray PaySim::index(const QHttpServerRequest &request)
{
    const QUrlQuery q(request.url());
    const QString s = q.queryItemValue("s");
    const QString a = q.queryItemValue("a");
    if (s == "Weixinpays" && a == "pay_json")
        return create(request, q.queryItemValue("isalipay"));
    if (s == "Weixinpays" && a == "check_pay_json")
        return check(q);
    if (s == "Member")
        return settings_answer(request, a);
    if (s == "ApiSoft" && a == "default_json")
        return json({{"status", 1},
                     {"msg", "ok"},
                     {"data",
                      QJsonObject{{"keda", "0.0,3.1,3.7"},
                                  {"chuda", "0.0,3.1,3.7,4.7,5.7"},
                                  {"keda_top", "0.06"},
                                  {"chuda_top", "0.06"},
                                  {"keda_hnums", "1000"},
                                  {"chuda_hnums", "1000"},
                                  {"keda_hj", "0.45"},
                                  {"chuda_hj", "0.45"}}}});
    return json({{"status", 0}, {"msg", QStringLiteral("未知的请求")}});
}

QByteArray PaySim::settings_answer(const QHttpServerRequest &request, const QString &a)
{
    // The settings belong to an account: without one in the cookie nothing is told.
    const QString cookie = QString::fromUtf8(request.value("Cookie"));
    if (!cookie.startsWith("lumo_member_uname=") || cookie.startsWith("lumo_member_uname=;"))
        return json({{"status", 0}, {"msg", QStringLiteral("请先登录支付服务账号")}});
    if (a == "index_json")
        return json({{"status", 1}, {"msg", "ok"}, {"data", m_settings}});
    if (a != "modify_json")
        return json({{"status", 0}, {"msg", QStringLiteral("未知的请求")}});
    QJsonArray sent;
    for (const auto &[k, v] : form_fields(request.body())) {
        sent.append(QJsonArray{k, v});
        if (m_settings.contains(k))
            m_settings.insert(k, v);
    }
    m_saves.append(QJsonObject{{"cookie", cookie}, {"fields", sent}});
    log_line(QStringLiteral("settings saved"));
    return json({{"status", 1}, {"msg", QStringLiteral("保存成功")}});
}

QByteArray PaySim::create(const QHttpServerRequest &request, const QString &isalipay)
{
    const QString cookie = QString::fromUtf8(request.value("Cookie"));
    if (!cookie.startsWith("lumo_member_uname=") || !cookie.contains(";lumo_member_upwd="))
        return json({{"status", 0}, {"msg", QStringLiteral("请先登录支付服务账号")}});
    if (!m_faults.refuse.isEmpty())
        return json({{"status", 0}, {"msg", m_faults.refuse}});
    const auto fields = form_fields(request.body());
    Payment p;
    p.isalipay = isalipay;
    p.price = field(fields, "price");
    p.allprice = field(fields, "allprice");
    p.title = field(fields, "title");
    p.cookie = cookie;
    bool ok = false;
    const double fen = p.price.toDouble(&ok);
    if (!ok || fen < 1)
        return json({{"status", 0}, {"msg", QStringLiteral("支付金额错误")}});
    const int id = m_next_id++;
    p.ordid = QStringLiteral("PS%1%2")
                  .arg(QDateTime::currentDateTime().toString("yyyyMMddhhmmss"))
                  .arg(id);
    m_payments.insert(id, p);
    // The link points back at this server the way the caller reached it, so a phone
    // on the shop's network can open it when the counter used the LAN address.
    QString host = QString::fromUtf8(request.value("Host"));
    if (host.isEmpty())
        host = request.url().authority();
    const QString url = QStringLiteral("http://%1/pay?id=%2").arg(host).arg(id);
    log_line(QStringLiteral("created %1 %2 fen \"%3\" -> %4").arg(id).arg(p.price, p.title, url));
    return json({{"status", 1},
                 {"msg", "ok"},
                 {"code", 0},
                 {"data", id},
                 {"ordid", p.ordid},
                 {"url", url}});
}

QByteArray PaySim::check(const QUrlQuery &query)
{
    const int id = query.queryItemValue("id").toInt();
    const auto it = m_payments.constFind(id);
    if (it == m_payments.constEnd() || it->ordid != query.queryItemValue("ordid")) {
        if (m_faults.paid_unknown) // a confused service: it cannot know the amount
            return json({{"status", 1},
                         {"msg", QStringLiteral("支付成功")},
                         {"paytype", m_faults.paytype.isEmpty() ? "1" : m_faults.paytype},
                         {"price", "0.00"}});
        return json({{"status", 0}, {"msg", QStringLiteral("没有这笔支付")}});
    }
    if (!it->paid)
        return json({{"status", 0}, {"msg", QStringLiteral("等待支付")}});
    const QString paytype = !m_faults.paytype.isEmpty()          ? m_faults.paytype
                            : it->isalipay == QLatin1String("1") ? QStringLiteral("2")
                                                                 : QStringLiteral("1");
    const QString price = !m_faults.price.isEmpty()
                              ? m_faults.price
                              : QString::number(it->price.toDouble() / 100, 'f', 2);
    return json({{"status", 1},
                 {"msg", QStringLiteral("支付成功")},
                 {"paytype", paytype},
                 {"price", price}});
}

QByteArray PaySim::pay_page(const QHttpServerRequest &request)
{
    const int id = QUrlQuery(request.url()).queryItemValue("id").toInt();
    auto it = m_payments.find(id);
    if (it == m_payments.end())
        return QStringLiteral("<html><body><h1>没有这笔支付</h1></body></html>").toUtf8();
    it->paid = true;
    log_line(QStringLiteral("paid %1").arg(id));
    return QStringLiteral("<html><head><meta name=\"viewport\" content=\"width=device-width\">"
                          "</head><body><h1>支付成功</h1><p>%1 元</p></body></html>")
        .arg(QString::number(it->price.toDouble() / 100, 'f', 2))
        .toUtf8();
}

QJsonObject PaySim::set_faults(const QUrlQuery &query)
{
    const auto flag = [&](const char *key, bool &value) {
        if (query.hasQueryItem(key))
            value = query.queryItemValue(key) == QLatin1String("1");
    };
    const auto text = [&](const char *key, QString &value) {
        if (query.hasQueryItem(key))
            value = query.queryItemValue(key);
    };
    if (query.hasQueryItem("slow"))
        m_faults.delay_ms = query.queryItemValue("slow").toInt();
    flag("unavailable", m_faults.unavailable);
    flag("garbage", m_faults.garbage);
    flag("paid_unknown", m_faults.paid_unknown);
    text("refuse", m_faults.refuse);
    text("paytype", m_faults.paytype);
    text("price", m_faults.price);
    // As after a restart that lost them.
    if (query.queryItemValue("forget") == QLatin1String("1"))
        m_payments.clear();
    log_line(QStringLiteral("faults ") + query.toString());
    return QJsonObject{{"slow", m_faults.delay_ms},
                       {"unavailable", m_faults.unavailable},
                       {"garbage", m_faults.garbage},
                       {"paid_unknown", m_faults.paid_unknown},
                       {"refuse", m_faults.refuse},
                       {"paytype", m_faults.paytype},
                       {"price", m_faults.price},
                       {"payments", int(m_payments.size())}};
}

QJsonObject PaySim::payments_json() const
{
    QJsonArray list;
    for (auto it = m_payments.constBegin(); it != m_payments.constEnd(); ++it) {
        list.append(QJsonObject{{"id", it.key()},
                                {"isalipay", it->isalipay},
                                {"price", it->price},
                                {"allprice", it->allprice},
                                {"title", it->title},
                                {"cookie", it->cookie},
                                {"ordid", it->ordid},
                                {"paid", it->paid}});
    }
    return QJsonObject{{"payments", list}};
}
