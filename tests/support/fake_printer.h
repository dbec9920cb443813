#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QVector>

// A network thermal printer on 127.0.0.1 for tests: takes connections on a port of its
// own, keeps what each one sent and answers the status request (DLE EOT 1) the way
// the mode says.
class FakePrinter : public QObject
{
    Q_OBJECT

public:
    enum Mode {
        Online,  // answers "online"
        Silent,  // takes the bytes and never answers
        Offline, // answers "offline" (cover open)
    };

    FakePrinter();
    // Listens (again) on the same port as before when it had one.
    bool start();
    // Stops listening and drops open connections: the port refuses.
    void stop();

    quint16 port() const { return m_port; }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }

    Mode mode = Online;
    // The bytes of every connection, in the order they were opened.
    QList<QByteArray> received;
    // Bytes of all connections as one stream.
    QByteArray all() const;

private:
    QTcpServer m_server;
    quint16 m_port = 0;
};

// What a stream of ESC/POS bytes prints, read the way a printer reads it.
struct DecodedLine
{
    QString text;
    bool bold = false;
    bool tall = false;
};
struct DecodedTicket
{
    QVector<DecodedLine> lines;
    bool initialised = false; // ESC @ before the text
    bool chinese = false;     // FS & before the text
    bool cut = false;         // ended by GS V
    QStringList texts() const;
    // Whether some line holds the text.
    bool has(const QString &text) const;
};
struct DecodedStream
{
    QVector<DecodedTicket> tickets; // split at every cut
    int drawer_pulses = 0;          // ESC p 0 25 250
    int status_queries = 0;         // DLE EOT 1
    QStringList unknown;            // commands not understood, as hex
    bool gbk_ok = true;             // every text decoded as GBK
};
DecodedStream decode_escpos(const QByteArray &bytes);
