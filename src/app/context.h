#pragma once

#include <QString>

#include <memory>

// Time and chance come from here, so tests can fix them.
class Clock
{
public:
    virtual ~Clock() = default;
    // Milliseconds from 1970-01-01 00:00 to the local wall-clock time (no zone conversion).
    virtual qint64 now_ms() const;
};

class Random
{
public:
    virtual ~Random() = default;
    // A whole number from 0 to bound - 1.
    virtual int bounded(int bound);
};

// The confirmation box and the plain message boxes. The windows show real boxes;
// tests queue answers.
class Prompts
{
public:
    virtual ~Prompts() = default;
    // Caption "友情提示", OK and Cancel; true only for OK.
    virtual bool confirm(const QString &text) = 0;
    virtual void information(const QString &text) = 0;
    virtual void warning(const QString &text) = 0;
    // The standard error box for a failed database operation.
    virtual void error(const QString &text) = 0;
    // A failure that may pass ("重试") or not ("退出"); true to try again.
    virtual bool retry(const QString &text)
    {
        error(text);
        return false;
    }
};

struct Paths
{
    QString program; // with trailing separator
    QString config;  // program + "config/"
    QString log;     // program + "log/"
    QString ini;     // config + "info.ini"
    QString default_db;
};

// Configuration values loaded at start-up; screens that save a key update them too.
struct Settings
{
    QString shopname = QStringLiteral("匿名店铺");
    QString shopaddress;
    QString shoptel;
    int is_shopaddress = 0;
    int is_shoptel = 0;
    int is_paytime = 0;
    int time_tb = 10;
    int is_time_tb = 0;
    int desk_perpage = 36;
    int caipin_perpage = 81;
    QString defaultpay;
    QString cwf_tit = QStringLiteral("餐具");
    QString cwf = QStringLiteral("0.00");
    int isautobackup = 0;
    int backuph = 5;
    QString kdprintname;
    QString cdprintname;
    int kdprintnums = 1000;
    int cdprintnums = 1000;
    QString kdstr = QStringLiteral("0.0,3.1,3.7");
    QString cdstr = QStringLiteral("0.0,3.1,3.7,4.7,5.7");
    QString kdtop = QStringLiteral("0.06");
    QString kdhj = QStringLiteral("0.45");
    QString cdtop = QStringLiteral("0.06");
    QString cdhj = QStringLiteral("0.45");
    // [Payservice] url: scheme, host and port of the payment service; empty when none.
    QString payservice_url;
};

// The member of staff signed in.
struct Account
{
    qint64 uid = 0;
    QString username;
    QString digest;
    int role = 0;

    void clear() { *this = Account(); }
};

// The payment-service account read from lumo_system at start-up.
struct ServiceAccount
{
    QString username;
    QString encmd5;
};

class PrintDevice;
class ChangeNotifier;

// What every screen shares: folders, database path, settings, the signed-in
// account, the current table, and the replaceable outside effects.
class AppContext
{
public:
    AppContext();

    Paths paths;
    QString db_path;
    Settings settings;
    Account account;
    ServiceAccount service;

    // The table selected on the board.
    QString desk_id;
    QString desk_bh;

    Clock &clock() const { return *m_clock; }
    Random &random() const { return *m_random; }
    Prompts &prompts() const { return *m_prompts; }
    // The printers; none until the program installs the platform's (tests a recording one).
    PrintDevice *print_device() const { return m_print_device.get(); }
    // Where every committed change is announced (see app/notifier.h).
    ChangeNotifier &notifier() const { return *m_notifier; }

    void setClock(std::shared_ptr<Clock> c) { m_clock = std::move(c); }
    void setRandom(std::shared_ptr<Random> r) { m_random = std::move(r); }
    void setPrompts(std::shared_ptr<Prompts> p) { m_prompts = std::move(p); }
    void setPrintDevice(std::shared_ptr<PrintDevice> d) { m_print_device = std::move(d); }

private:
    std::shared_ptr<Clock> m_clock;
    std::shared_ptr<Random> m_random;
    std::shared_ptr<Prompts> m_prompts;
    std::shared_ptr<PrintDevice> m_print_device;
    std::shared_ptr<ChangeNotifier> m_notifier;
};
