#pragma once

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

#include <functional>

class QNetworkAccessManager;
class QNetworkRequest;
class QNetworkReply;

using FormFields = QList<QPair<QString, QString>>;

// The client of the payment service. Calls never block: the answer comes to the
// callback from the event loop, so the counter keeps working while a request waits.
// The callback receives the body as UTF-8 text, or an empty text on any failure
// (refused, unreachable, an HTTP error status, nothing read for the read timeout).
class HttpClient : public QObject
{
    Q_OBJECT
public:
    using Done = std::function<void(const QString &body)>;

    // log_folder receives "errormessage.txt", the last failed GET.
    explicit HttpClient(QString log_folder, QObject *parent = nullptr);

    // context: when it is destroyed before the answer, done is not called.
    void http_get(const QString &url, const QString &cookie, QObject *context, Done done);
    void http_post(const QString &url,
                   const QString &cookie,
                   const FormFields &fields,
                   QObject *context,
                   Done done);

    // How long a request may go without receiving anything before it fails.
    void setReadTimeoutMs(int ms) { m_timeout_ms = ms; }
    int readTimeoutMs() const { return m_timeout_ms; }
    // How long a request may take in all, however slowly its answer trickles in.
    void setDeadlineMs(int ms) { m_deadline_ms = ms; }
    // The largest answer read; a longer one fails the request.
    void setMaxAnswerBytes(qint64 bytes) { m_max_bytes = bytes; }

    static constexpr int DefaultReadTimeoutMs = 10000;
    static constexpr int DefaultDeadlineMs = 20000;
    static constexpr qint64 DefaultMaxAnswerBytes = 1024 * 1024;

    // application/x-www-form-urlencoded body, fields in the given order, text as UTF-8.
    static QByteArray form_encode(const FormFields &fields);

private:
    QNetworkRequest request(const QString &url, const QString &cookie) const;
    void finish(QNetworkReply *reply, bool log_failure, QObject *context, Done done);

    QString m_log_folder;
    int m_timeout_ms = DefaultReadTimeoutMs;
    int m_deadline_ms = DefaultDeadlineMs;
    qint64 m_max_bytes = DefaultMaxAnswerBytes;
    QNetworkAccessManager *m_nam = nullptr;
};
