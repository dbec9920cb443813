#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTcpSocket>
#include <QTimer>

// A printer given as a network address ("192.168.1.50:9100", "kitchen-printer:9100",
// or an IPv4 address alone for port 9100) rather than the name of a system queue.
struct NetPrinterAddress
{
    QString host;
    quint16 port = 9100;
    bool valid = false;
};
NetPrinterAddress parse_net_printer(const QString &printer);
inline bool is_net_printer(const QString &printer)
{
    return parse_net_printer(printer).valid;
}

// One delivery of bytes to a network printer: connect, write, ask the printer's
// status (DLE EOT 1) and take its answer as the receipt of the job. Runs on the
// event loop; nothing waits. finished() comes exactly once.
class NetPrintJob : public QObject
{
    Q_OBJECT

public:
    NetPrintJob(const NetPrinterAddress &address,
                QByteArray data,
                int timeout_ms,
                QObject *parent = nullptr);

    void start();

    // Why it failed, in the words the counter shows.
    QString error() const { return m_error; }
    // The bytes may have reached the printer (it went silent after they were written),
    // so a resend must say it is a reprint.
    bool maybe_printed() const { return m_maybe_printed; }

signals:
    void finished(bool ok);

private:
    void done(bool ok, const QString &error);
    void on_error(QAbstractSocket::SocketError e);

    NetPrinterAddress m_address;
    QByteArray m_data;
    QTcpSocket m_socket;
    QTimer m_timer;
    QString m_error;
    bool m_written = false;
    bool m_maybe_printed = false;
    bool m_done = false;
};
