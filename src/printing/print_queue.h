#pragma once

#include "app/context.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QVector>

#include <functional>

class TSQLiteDatabase;

// The print queue (mivo_print_job): every ticket, receipt and drawer pulse for a network
// printer is written here first, in the same transaction as the change it prints, and
// sent from here. A job that could not be delivered stays with its reason until it is
// printed again, so nothing is lost; a delivered one is never sent again by itself.

enum class JobState { Waiting = 0, Sending = 1, Printed = 2, Failed = 3 };

struct QueuedJob
{
    QString station_id; // "0": not a station (the kitchen or receipt printer of the settings)
    QString title;      // who the printer is to the staff: a station's name, "客打"
    QString printer;    // "host:port", or a system queue name
    QString kind;       // "kitchen", "return", "receipt", "drawer"
    QString order_id;
    QString desk_id;
    QByteArray payload; // ESC/POS bytes; for a system queue the print document's JSON
};

struct PrintJob
{
    QString id;
    QString station_id;
    QString title;
    QString printer;
    QString kind;
    QString order_id;
    QString desk_id;
    QString desk_bh;
    JobState state = JobState::Waiting;
    int tries = 0;
    bool uncertain = false; // a try may have printed it: a resend says "补打"
    QString error;
    QString addtime; // Unix seconds
};

// Adds the job on the caller's connection (inside its transaction); returns its id.
QString add_print_job(const AppContext &ctx, TSQLiteDatabase &db, const QueuedJob &job);
// Jobs not printed yet (waiting, sending, failed), oldest first; with printed ones too
// when all is set (the newest 200).
QVector<PrintJob> read_print_jobs(const AppContext &ctx, bool all = false);
// Puts a failed job back in the queue; false when it is no longer failed.
bool retry_print_job(AppContext &ctx, const QString &job_id);
// The job's kind as the list shows it.
QString job_kind_name(const QString &kind);
// What the counter shows when a job cannot be delivered.
QString job_failure_text(const PrintJob &job, const QString &reason);

// Sends waiting jobs, one at a time per printer and several printers at once, on the
// event loop: nothing here waits on a socket. Wakes on the notifier's print_queued.
class PrintSpool : public QObject
{
    Q_OBJECT

public:
    explicit PrintSpool(AppContext &ctx, QObject *parent = nullptr);

    // How long a printer may take to connect and confirm a job.
    void set_timeout(int ms) { m_timeout_ms = ms; }
    int timeout() const { return m_timeout_ms; }
    // Looks for waiting jobs now.
    void kick();
    bool busy() const { return !m_sending.isEmpty(); }

signals:
    // A job could not be delivered: text names the printer and the reason.
    void failed(const QString &job_id, const QString &text);
    void printed(const QString &job_id);
    // The queue changed state (for lists that show it).
    void jobs_changed();

private:
    void send(const PrintJob &job, const QByteArray &payload);
    void finish(const PrintJob &job, bool ok, bool uncertain, const QString &reason);
    // Runs a store step; a store failure is reported through failed() instead of
    // leaving the event loop.
    bool store_step(const std::function<void()> &step);
    // The kitchen printer of the settings took a print document (system queue).
    bool print_on_queue(const PrintJob &job, const QByteArray &json, QString &reason);

    AppContext &m_ctx;
    int m_timeout_ms = 3000;
    QSet<QString> m_sending; // printers with a job on the way
    bool m_kicking = false;
    bool m_again = false;
};
