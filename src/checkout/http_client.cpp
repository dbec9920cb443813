#include "checkout/http_client.h"

#include "app/helpers.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QSslConfiguration>
#include <QTimer>
#include <QUrl>

#include <memory>

namespace {

const QByteArray GetAccept
    = "text/html,application/xhtml+xml,application/xml;q=0.9,image/avif,image/webp,image/apng,*/"
      "*;q=0.8,application/signed-exchange;v=b3;q=0.9";
const QByteArray GetAgent = "Mozilla/5.0 (Windows NT 6.1; WOW64) AppleWebKit/537.36 (KHTML, like "
                            "Gecko) Chrome/86.0.4240.198 Safari/537.36";
const QByteArray PostAccept = "text/html,application/xhtml+xml,application/xml;q=0.9,image/"
                              "webp,*/*;q=0.8";
const QByteArray PostAgent
    = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; InfoPath.2; .NET CLR 2.0.50727; "
      ".NET4.0C; .NET4.0E; .NET CLR 3.0.04506.648; .NET CLR 3.5.21022)";

} // namespace

HttpClient::HttpClient(QString log_folder, QObject *parent)
    : QObject(parent)
    , m_log_folder(std::move(log_folder))
    , m_nam(new QNetworkAccessManager(this))
{}

QByteArray HttpClient::form_encode(const FormFields &fields)
{
    QByteArray body;
    for (const auto &[name, value] : fields) {
        if (!body.isEmpty())
            body += '&';
        body += QUrl::toPercentEncoding(name) + '=' + QUrl::toPercentEncoding(value);
    }
    return body;
}

QNetworkRequest HttpClient::request(const QString &url, const QString &cookie) const
{
    QNetworkRequest req{QUrl(url)};
    // The service speaks plain HTTP/1.1; redirects are followed unless they go from
    // https to http. TLS is the platform's default configuration.
    req.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    req.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                     QNetworkRequest::NoLessSafeRedirectPolicy);
    req.setTransferTimeout(m_timeout_ms);
#if QT_CONFIG(ssl)
    // The platform's TLS settings, restricted to the protocol versions Qt deems secure
    // (TLS 1.2 and later).
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setProtocol(QSsl::SecureProtocols);
    req.setSslConfiguration(tls);
#endif
    if (!cookie.isEmpty())
        req.setRawHeader("Cookie", cookie.toUtf8());
    return req;
}

void HttpClient::http_get(const QString &url, const QString &cookie, QObject *context, Done done)
{
    QNetworkRequest req = request(url, cookie);
    req.setRawHeader("Accept", GetAccept);
    req.setRawHeader("User-Agent", GetAgent);
    finish(m_nam->get(req), true, context, std::move(done));
}

void HttpClient::http_post(const QString &url,
                           const QString &cookie,
                           const FormFields &fields,
                           QObject *context,
                           Done done)
{
    QNetworkRequest req = request(url, cookie);
    req.setRawHeader("Accept", PostAccept);
    req.setRawHeader("User-Agent", PostAgent);
    req.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded");
    finish(m_nam->post(req, form_encode(fields)), false, context, std::move(done));
}

void HttpClient::finish(QNetworkReply *reply, bool log_failure, QObject *context, Done done)
{
    const QPointer<QObject> guard(context);
    const bool bound = context != nullptr;
    const QString url = reply->request().url().toString();
    // Why the request was cut short here, when it was.
    auto cut = std::make_shared<QString>();
    const qint64 max_bytes = m_max_bytes;
    connect(reply, &QNetworkReply::downloadProgress, reply, [=](qint64 received, qint64 total) {
        if (cut->isEmpty() && (received > max_bytes || total > max_bytes)) {
            *cut = QStringLiteral("answer longer than %1 bytes").arg(max_bytes);
            reply->abort();
        }
    });
    auto *deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, reply, [=] {
        if (cut->isEmpty())
            *cut = QStringLiteral("no whole answer within %1 ms").arg(deadline->interval());
        reply->abort();
    });
    deadline->start(m_deadline_ms);
    connect(reply, &QNetworkReply::finished, this, [=, this] {
        reply->deleteLater();
        deadline->stop();
        QString body;
        if (reply->error() == QNetworkReply::NoError && cut->isEmpty()) {
            body = QString::fromUtf8(reply->readAll());
        } else if (log_failure) {
            force_folder(m_log_folder);
            write_text_file(url + (cut->isEmpty() ? reply->errorString() : *cut),
                            m_log_folder + QStringLiteral("errormessage.txt"));
        }
        if (!bound || guard)
            done(body);
    });
}
