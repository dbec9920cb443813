#pragma once

#include "app/context.h"
#include "checkout/http_client.h"

#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

// ---- The payment service's requests and answers ----

// "lumo_member_uname=<username>;lumo_member_upwd=<encmd5>", values as stored.
QString pay_cookie(const ServiceAccount &account);
// Yuan as fen, general decimal form with up to 15 significant digits (12.34 -> "1234").
QString fen_text(double yuan);
// The service's address from the settings, without a trailing "/"; empty when not set.
QString pay_service_base(const Settings &settings);
QString create_pay_url(const QString &base, const QString &isalipay);
QString check_pay_url(const QString &base, const QString &id, const QString &ordid);
FormFields create_pay_fields(double price, double allprice, const QString &title);

// A member of an answer as text: strings as they are, numbers with the digits the
// service wrote, so a large id survives unchanged. raw is the answer's text, o the
// object parsed from it; only o's own members count, not those of objects inside it.
QString member_text(const QString &raw, const QJsonObject &o, const QString &key);
// The raw text of a member of the outer object of a JSON text; empty when it has none.
QString top_level_text(const QString &raw, const QString &key);
// A reported pay type as the code to store: a number whose value is a whole 1-7 or 9
// ("1.0", 1e0) becomes that code; anything else stays as reported, and is refused.
QString pay_type_code(const QString &reported);
// "status" is 1, as a number or as text.
bool status_is_one(const QJsonObject &o);

struct CreateAnswer
{
    enum Kind { Created, NetworkError, Refused };
    Kind kind = NetworkError;
    QString message; // what to toast when not created
    QString id;      // "data" as text, a number exactly as the service wrote it
    QString ordid;
    QString url;
};
CreateAnswer read_create_answer(const QString &text);

struct CheckAnswer
{
    bool paid = false;
    QString msg;
    QString paytype;
    QString price; // yuan, as text
};
CheckAnswer read_check_answer(const QString &text);

Q_DECLARE_METATYPE(CreateAnswer)
Q_DECLARE_METATYPE(CheckAnswer)

// ---- Messages ----
inline const char *const NoServiceMessage = "请在系统设置中设置支付服务地址";
inline const char *const BadAmountMessage = "支付金额错误";
inline const char *const NetworkMessage = "可能是网络错误，请检查您的网络";
inline const char *const LinkTooLongMessage = "支付链接过长，无法生成二维码，请联系支付服务商";

// What one online payment asks for.
struct PayRequest
{
    QString isalipay; // "0" WeChat Pay, "1" Alipay
    double price = 0; // yuan to pay
    double allprice = 0;
    QString title;
};

// One dialog's online payment: creates it at the service, then polls until the
// service reports it paid (first check after 1 s, then every 2 s). Stopping ends the
// polling and drops any answer still on its way; the service is not told.
class QrPayment : public QObject
{
    Q_OBJECT
public:
    explicit QrPayment(AppContext &ctx, QObject *parent = nullptr);

    // Sends the create request. Returns the refusal to show when nothing was sent
    // (amount below 0.01, no service address); empty when the request is on its way.
    QString start(const PayRequest &request);
    void stop();

    bool creating() const { return m_state == State::Creating; }
    bool polling() const { return m_state == State::Polling; }
    QString paymentId() const { return m_id; }
    QString ordid() const { return m_ordid; }

    // Asked before every check; false ends the polling.
    void setKeepPolling(std::function<bool()> keep) { m_keep = std::move(keep); }
    // Asked when the service has created the payment, before polling starts; false
    // (the payment could not be recorded here) abandons it.
    void setOnCreated(std::function<bool(const CreateAnswer &)> f) { m_on_created = std::move(f); }

    HttpClient &client() { return m_client; }
    QTimer &pollTimer() { return m_timer; }

    static constexpr int FirstPollMs = 1000;
    static constexpr int NextPollMs = 2000;

signals:
    void created(const CreateAnswer &answer);
    void failed(const QString &message);
    void paid(const CheckAnswer &answer);
    void busyChanged(bool busy);

private:
    enum class State { Idle, Creating, Polling };
    void setState(State s);
    void check_paystat();

    AppContext &m_ctx;
    HttpClient m_client;
    QTimer m_timer;
    State m_state = State::Idle;
    quint64 m_generation = 0;
    QString m_base;
    QString m_id;
    QString m_ordid;
    std::function<bool()> m_keep;
    std::function<bool(const CreateAnswer &)> m_on_created;
};
