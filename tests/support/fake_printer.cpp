#include "support/fake_printer.h"

#include "app/gbk.h"

#include <QTcpSocket>

FakePrinter::FakePrinter()
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *s = m_server.nextPendingConnection()) {
            const qsizetype index = received.size();
            received.append(QByteArray());
            s->setParent(this);
            connect(s, &QTcpSocket::readyRead, this, [this, s, index] {
                received[index] += s->readAll();
                if (mode == Silent)
                    return;
                // One status byte for every DLE EOT 1 not answered yet.
                const qsizetype asked = received[index].count(QByteArray("\x10\x04\x01", 3));
                const int answered = s->property("answered").toInt();
                for (qsizetype k = answered; k < asked; ++k)
                    s->write(QByteArray(1, mode == Online ? '\x12' : '\x1A'));
                s->setProperty("answered", int(asked));
            });
            connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
        }
    });
}

bool FakePrinter::start()
{
    if (!m_server.listen(QHostAddress::LocalHost, m_port))
        return false;
    m_port = m_server.serverPort();
    return true;
}

void FakePrinter::stop()
{
    m_server.close();
    for (QTcpSocket *s : findChildren<QTcpSocket *>())
        s->abort();
}

QByteArray FakePrinter::all() const
{
    QByteArray out;
    for (const QByteArray &b : received)
        out += b;
    return out;
}

QStringList DecodedTicket::texts() const
{
    QStringList out;
    for (const DecodedLine &l : lines)
        out << l.text;
    return out;
}

bool DecodedTicket::has(const QString &text) const
{
    for (const DecodedLine &l : lines) {
        if (l.text.contains(text))
            return true;
    }
    return false;
}

DecodedStream decode_escpos(const QByteArray &b)
{
    DecodedStream out;
    DecodedTicket ticket;
    QByteArray text;
    bool bold = false;
    bool tall = false;
    bool line_bold = false;
    bool line_tall = false;
    const auto flush_line = [&] {
        bool ok = true;
        ticket.lines.append({from_gbk(text, &ok), line_bold, line_tall});
        out.gbk_ok = out.gbk_ok && ok;
        text.clear();
        line_bold = bold;
        line_tall = tall;
    };
    const auto at = [&](qsizetype i) {
        return i < b.size() ? uchar(b[i]) : 0;
    };
    for (qsizetype i = 0; i < b.size();) {
        const uchar c = uchar(b[i]);
        if (c == 0x1B) {
            const uchar op = at(i + 1);
            if (op == '@') {
                ticket.initialised = true;
                bold = tall = false;
                i += 2;
            } else if (op == 'E') {
                bold = at(i + 2) & 1;
                i += 3;
            } else if (op == 'd') {
                i += 3;
            } else if (op == 'p') {
                if (at(i + 2) == 0 && at(i + 3) == 25 && at(i + 4) == 250)
                    ++out.drawer_pulses;
                else
                    out.unknown << b.mid(i, 5).toHex(' ');
                i += 5;
            } else {
                out.unknown << b.mid(i, 2).toHex(' ');
                i += 2;
            }
        } else if (c == 0x1D) {
            const uchar op = at(i + 1);
            if (op == '!') {
                tall = at(i + 2) & 0x01;
                i += 3;
            } else if (op == 'V') {
                if (!text.isEmpty())
                    flush_line();
                ticket.cut = true;
                out.tickets.append(ticket);
                ticket = DecodedTicket();
                i += at(i + 2) >= 65 ? 4 : 3;
            } else {
                out.unknown << b.mid(i, 2).toHex(' ');
                i += 2;
            }
        } else if (c == 0x1C) {
            const uchar op = at(i + 1);
            if (op == '&') {
                ticket.chinese = true;
                i += 2;
            } else if (op == '!') {
                tall = tall || (at(i + 2) & 0x08);
                i += 3;
            } else {
                out.unknown << b.mid(i, 2).toHex(' ');
                i += 2;
            }
        } else if (c == 0x10 && at(i + 1) == 0x04) {
            if (at(i + 2) == 1)
                ++out.status_queries;
            i += 3;
        } else if (c == '\n') {
            flush_line();
            ++i;
        } else if (c < 0x20) {
            out.unknown << b.mid(i, 1).toHex(' ');
            ++i;
        } else {
            if (text.isEmpty()) {
                line_bold = bold;
                line_tall = tall;
            }
            line_bold = line_bold || bold;
            line_tall = line_tall || tall;
            text += char(c);
            ++i;
        }
    }
    if (!text.isEmpty())
        flush_line();
    if (!ticket.lines.isEmpty())
        out.tickets.append(ticket);
    return out;
}
