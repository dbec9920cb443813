#pragma once

#include <QHttpServer>
#include <QJsonArray>
#include <QJsonObject>
#include <QMap>
#include <QObject>

// A stand-in for the shop's payment service: creates QR payments whose link is its
// own page /pay?id=N (opening it marks the payment paid), answers the payment checks
// and keeps the online payment settings in memory (saves are listed at /settings_saves).
class PaySim : public QObject
{
    Q_OBJECT
public:
    struct Faults
    {
        int delay_ms = 0;          // every answer of /index.php comes this late
        bool unavailable = false;  // /index.php answers 503
        bool garbage = false;      // /index.php answers text that is no JSON
        QString refuse;            // non-empty: creating answers status 0 with this message
        QString paytype;           // reported pay type; empty: 1 for WeChat, 2 for Alipay
        QString price;             // reported price in yuan; empty: the amount created
        bool paid_unknown = false; // a check for a payment it does not know answers "paid"
        QJsonObject settings;      // online payment settings to start with
    };

    explicit PaySim(Faults faults, QObject *parent = nullptr);
    // Returns the port listened on, 0 on failure.
    quint16 listen(const QHostAddress &address, quint16 port);

private:
    struct Payment
    {
        QString isalipay;
        QString price; // fen, as sent
        QString allprice;
        QString title;
        QString cookie;
        QString ordid;
        bool paid = false;
    };

    QByteArray index(const QHttpServerRequest &request);
    QByteArray create(const QHttpServerRequest &request, const QString &isalipay);
    QByteArray check(const QUrlQuery &query);
    QByteArray pay_page(const QHttpServerRequest &request);
    QJsonObject set_faults(const QUrlQuery &query);
    QJsonObject payments_json() const;
    QByteArray settings_answer(const QHttpServerRequest &request, const QString &a);

    Faults m_faults;
    QHttpServer m_server;
    QMap<int, Payment> m_payments;
    QJsonObject m_settings;
    // Every settings save as received: the cookie and the form fields in order.
    QJsonArray m_saves;
    int m_next_id = 1001;
};
