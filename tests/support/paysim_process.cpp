#include "support/paysim_process.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTimer>

PaySimProcess::PaySimProcess(const QStringList &switches)
{
    m_process.setProgram(QStringLiteral(MIVO_PAYSIM));
    m_process.setArguments(QStringList{"--host", "127.0.0.1", "--port", "0"} + switches);
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start();
    if (!m_process.waitForStarted(5000))
        return;
    static const QRegularExpression line(QStringLiteral("listening on (http://\\S+)"));
    QByteArray out;
    while (m_process.waitForReadyRead(5000)) {
        out += m_process.readAllStandardOutput();
        const QRegularExpressionMatch m = line.match(QString::fromUtf8(out));
        if (m.hasMatch()) {
            base = m.captured(1);
            break;
        }
    }
}

PaySimProcess::~PaySimProcess()
{
    m_process.kill();
    m_process.waitForFinished(3000);
}

QString PaySimProcess::get(const QString &path_or_url) const
{
    const QString url = path_or_url.startsWith("http") ? path_or_url : base + path_or_url;
    QNetworkAccessManager nam;
    QNetworkReply *reply = nam.get(QNetworkRequest{QUrl(url)});
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    const QString body = reply->error() == QNetworkReply::NoError
                             ? QString::fromUtf8(reply->readAll())
                             : QString();
    delete reply;
    return body;
}

bool PaySimProcess::open_link(const QString &url) const
{
    return get(url).contains(QStringLiteral("支付成功"));
}

quint16 closed_port()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

QJsonArray PaySimProcess::payments() const
{
    return QJsonDocument::fromJson(get(QStringLiteral("/payments")).toUtf8())
        .object()
        .value(QStringLiteral("payments"))
        .toArray();
}
