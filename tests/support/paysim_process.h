#pragma once

#include <QJsonArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// The payment-service stand-in running as its own program on 127.0.0.1 and a free
// port, with the given fault switches; stopped when this goes away.
class PaySimProcess
{
public:
    explicit PaySimProcess(const QStringList &switches = {});
    ~PaySimProcess();

    bool started() const { return !base.isEmpty(); }
    // "http://127.0.0.1:<port>"
    QString base;

    // Opens the payment link as a guest's phone would; true when the page says paid.
    bool open_link(const QString &url) const;
    // GET of a path, body as text ("" on failure); waits in a local loop (tests only).
    QString get(const QString &path_or_url) const;
    // The payments the service has received, oldest first, as it recorded them.
    QJsonArray payments() const;

private:
    QProcess m_process;
};

// A port on 127.0.0.1 where nothing listens.
quint16 closed_port();
