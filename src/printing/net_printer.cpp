#include "printing/net_printer.h"

#include "printing/escpos.h"

#include <QHostAddress>
#include <QRegularExpression>

NetPrinterAddress parse_net_printer(const QString &printer)
{
    NetPrinterAddress a;
    const QString t = printer.trimmed();
    static const QRegularExpression with_port(
        QStringLiteral("^([A-Za-z0-9][A-Za-z0-9.-]*):([0-9]{0,5})$"));
    static const QRegularExpression ipv4(
        QStringLiteral("^[0-9]{1,3}\\.[0-9]{1,3}\\.[0-9]{1,3}\\.[0-9]{1,3}$"));
    if (const auto m = with_port.match(t); m.hasMatch()) {
        const QString port = m.captured(2);
        const int n = port.isEmpty() ? 9100 : port.toInt();
        if (n < 1 || n > 65535)
            return a;
        a.host = m.captured(1);
        a.port = quint16(n);
        a.valid = true;
    } else if (ipv4.match(t).hasMatch()) {
        a.host = t;
        a.valid = true;
    }
    return a;
}

NetPrintJob::NetPrintJob(const NetPrinterAddress &address,
                         QByteArray data,
                         int timeout_ms,
                         QObject *parent)
    : QObject(parent)
    , m_address(address)
    , m_data(std::move(data))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(std::max(timeout_ms, 1));
    connect(&m_timer, &QTimer::timeout, this, [this] {
        // Connected and written, but no answer: the printer may have printed it.
        m_maybe_printed = m_written;
        done(false,
             m_written ? QStringLiteral("打印机没有响应（超时）") : QStringLiteral("连接超时"));
    });
    connect(&m_socket, &QTcpSocket::connected, this, [this] {
        m_socket.write(m_data + escpos::status_query());
        m_written = true;
    });
    connect(&m_socket, &QTcpSocket::readyRead, this, [this] {
        const QByteArray answer = m_socket.readAll();
        for (const char b : answer) {
            if (!escpos::is_status_byte(b))
                continue;
            if (escpos::status_online(b)) {
                m_socket.disconnectFromHost();
                done(true, {});
            } else {
                // An offline printer (cover open, paper out) keeps what it got in its
                // buffer and may print it when it comes back.
                m_maybe_printed = true;
                done(false, QStringLiteral("打印机离线（缺纸或开盖）"));
            }
            return;
        }
    });
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &NetPrintJob::on_error);
}

void NetPrintJob::start()
{
    m_timer.start();
    m_socket.connectToHost(m_address.host, m_address.port);
}

void NetPrintJob::on_error(QAbstractSocket::SocketError e)
{
    switch (e) {
    case QAbstractSocket::ConnectionRefusedError:
        done(false, QStringLiteral("连接被拒绝"));
        break;
    case QAbstractSocket::HostNotFoundError:
        done(false, QStringLiteral("找不到地址“%1”").arg(m_address.host));
        break;
    case QAbstractSocket::RemoteHostClosedError:
        m_maybe_printed = m_written;
        done(false, QStringLiteral("打印机断开了连接"));
        break;
    case QAbstractSocket::SocketTimeoutError:
        m_maybe_printed = m_written;
        done(false, QStringLiteral("连接超时"));
        break;
    default:
        m_maybe_printed = m_written;
        done(false, m_socket.errorString());
        break;
    }
}

void NetPrintJob::done(bool ok, const QString &error)
{
    if (m_done)
        return;
    m_done = true;
    m_error = error;
    m_timer.stop();
    if (!ok)
        m_socket.abort();
    emit finished(ok);
}
