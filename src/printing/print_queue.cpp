#include "printing/print_queue.h"

#include "app/helpers.h"
#include "app/notifier.h"
#include "printing/escpos.h"
#include "printing/net_printer.h"
#include "printing/order_prints.h"
#include "printing/print_document.h"
#include "store/sqlite_db.h"

namespace {

// A job held back this long in "sending" belongs to a counter that stopped mid-way.
constexpr qint64 StaleSendingSecs = 120;

// Takes what the renderer would show in a box, so the queue reports it once, its way.
class CollectingPrompts : public Prompts
{
public:
    bool confirm(const QString &) override { return true; }
    void information(const QString &) override {}
    void warning(const QString &text) override { last = text; }
    void error(const QString &text) override { last = text; }
    QString last;
};

PrintJob job_from(const TSQLiteTable &t)
{
    PrintJob j;
    j.id = t.value(QStringLiteral("id"));
    j.station_id = t.value(QStringLiteral("station_id"));
    j.title = t.value(QStringLiteral("title"));
    j.printer = t.value(QStringLiteral("printer"));
    j.kind = t.value(QStringLiteral("kind"));
    j.order_id = t.value(QStringLiteral("order_id"));
    j.desk_id = t.value(QStringLiteral("desk_id"));
    j.desk_bh = t.value(QStringLiteral("bh"));
    j.state = JobState(t.integer(QStringLiteral("stat")));
    j.tries = int(t.integer(QStringLiteral("tries")));
    j.uncertain = t.integer(QStringLiteral("uncertain")) != 0;
    j.error = t.value(QStringLiteral("error"));
    j.addtime = t.value(QStringLiteral("addtime"));
    return j;
}

const QString JobSelect = QStringLiteral(
    "SELECT j.id,j.station_id,j.title,j.printer,j.kind,j.order_id,j.desk_id,j.stat,j.tries,"
    "j.uncertain,j.error,j.addtime,k.bh");
const QString JobFrom
    = QStringLiteral(" FROM mivo_print_job AS j LEFT JOIN lumo_desk AS k ON k.id=j.desk_id ");

// "补打" over a ticket sent again after a try that may have printed it.
QByteArray reprint_mark(const QByteArray &payload)
{
    QByteArray out = escpos::init();
    out += QByteArray("\x1B\x45\x01\x1D\x21\x01\x1C\x21\x08", 9);
    out += escpos::gbk_text(QStringLiteral("【补打】"));
    out += QByteArray("\n\x1B\x45\x00\x1D\x21\x00\x1C\x21\x00", 10);
    return out + payload;
}

} // namespace

QString add_print_job(const AppContext &ctx, TSQLiteDatabase &db, const QueuedJob &job)
{
    db.ExecSQL(QStringLiteral("INSERT INTO mivo_print_job(station_id,title,printer,kind,order_id,"
                              "desk_id,payload,stat,tries,uncertain,error,addtime,sendtime)"
                              "VALUES(?,?,?,?,?,?,?,0,0,0,'',?,0)"),
               {job.station_id.isEmpty() ? QStringLiteral("0") : job.station_id,
                job.title,
                job.printer,
                job.kind,
                job.order_id,
                job.desk_id,
                QString::fromLatin1(job.payload.toBase64()),
                unix_now(ctx.clock())});
    return QString::number(db.GetLastInsertRowID());
}

QVector<PrintJob> read_print_jobs(const AppContext &ctx, bool all)
{
    TSQLiteDatabase db(ctx.db_path);
    const TSQLiteTable t
        = all ? db.GetTable(JobSelect + JobFrom + QStringLiteral("ORDER BY j.id DESC LIMIT 200"))
              : db.GetTable(JobSelect + JobFrom
                            + QStringLiteral("WHERE j.stat<>2 ORDER BY j.id ASC"));
    QVector<PrintJob> out;
    TSQLiteTable rows = t;
    for (rows.First(); !rows.isEof(); rows.Next())
        out.append(job_from(rows));
    return out;
}

bool retry_print_job(AppContext &ctx, const QString &job_id)
{
    bool done = false;
    {
        TSQLiteDatabase db(ctx.db_path);
        db.transaction([&] {
            db.ExecSQL(QStringLiteral("UPDATE mivo_print_job SET stat=0 WHERE id=? AND stat=3"),
                       {job_id});
            done = db.scalar(QStringLiteral("SELECT changes()")).toInt() > 0;
        });
    }
    if (done)
        emit ctx.notifier().print_queued();
    return done;
}

QString job_kind_name(const QString &kind)
{
    if (kind == QLatin1String("kitchen"))
        return QStringLiteral("厨打");
    if (kind == QLatin1String("return"))
        return QStringLiteral("退菜单");
    if (kind == QLatin1String("receipt"))
        return QStringLiteral("客打");
    if (kind == QLatin1String("drawer"))
        return QStringLiteral("开钱箱");
    return kind;
}

QString job_failure_text(const PrintJob &job, const QString &reason)
{
    const bool kitchen
        = job.kind == QLatin1String("kitchen") || job.kind == QLatin1String("return");
    return QStringLiteral("%1“%2”无法连接：%3")
        .arg(kitchen ? QStringLiteral("厨房打印机") : QStringLiteral("小票打印机"),
             job.title.isEmpty() ? job.printer : job.title,
             reason);
}

PrintSpool::PrintSpool(AppContext &ctx, QObject *parent)
    : QObject(parent)
    , m_ctx(ctx)
{
    connect(&ctx.notifier(), &ChangeNotifier::print_queued, this, &PrintSpool::kick);
    connect(&ctx.notifier(), &ChangeNotifier::database_replaced, this, &PrintSpool::kick);
    // A counter that stopped while sending left its job half done: it may have printed.
    store_step([&] {
        TSQLiteDatabase db(ctx.db_path);
        db.ExecSQL(QStringLiteral("UPDATE mivo_print_job SET stat=3,uncertain=1,error=? WHERE "
                                  "stat=1 AND sendtime<?"),
                   {QStringLiteral("发送中断"), unix_now_secs(ctx.clock()) - StaleSendingSecs});
    });
}

void PrintSpool::kick()
{
    if (m_kicking) {
        m_again = true;
        return;
    }
    m_kicking = true;
    do {
        m_again = false;
        QVector<std::pair<PrintJob, QByteArray>> claimed;
        const bool read = store_step([&] {
            TSQLiteDatabase db(m_ctx.db_path);
            db.transaction([&] {
                TSQLiteTable t = db.GetTable(JobSelect + QStringLiteral(",j.payload") + JobFrom
                                             + QStringLiteral("WHERE j.stat=0 ORDER BY j.id"));
                QSet<QString> taken = m_sending;
                for (; !t.isEof(); t.Next()) {
                    const PrintJob j = job_from(t);
                    if (taken.contains(j.printer))
                        continue; // one job at a time per printer, in queue order
                    // Another counter on the same file may be taking it this moment.
                    db.ExecSQL(QStringLiteral("UPDATE mivo_print_job SET stat=1,tries=tries+1,"
                                              "sendtime=? WHERE id=? AND stat=0"),
                               {unix_now(m_ctx.clock()), j.id});
                    if (db.scalar(QStringLiteral("SELECT changes()")).toInt() == 0)
                        continue;
                    taken.insert(j.printer);
                    claimed.append(
                        {j, QByteArray::fromBase64(t.value(QStringLiteral("payload")).toLatin1())});
                }
            });
        });
        if (!read)
            break;
        if (!claimed.isEmpty())
            emit jobs_changed();
        for (const auto &[job, payload] : claimed)
            send(job, payload);
    } while (m_again);
    m_kicking = false;
}

bool PrintSpool::store_step(const std::function<void()> &step)
{
    try {
        step();
        return true;
    } catch (const ESQLiteException &e) {
        emit failed(QString(), e.message());
        return false;
    }
}

void PrintSpool::send(const PrintJob &job, const QByteArray &payload)
{
    const NetPrinterAddress address = parse_net_printer(job.printer);
    if (!address.valid) {
        QString reason;
        const bool ok = print_on_queue(job, payload, reason);
        finish(job, ok, false, reason);
        return;
    }
    m_sending.insert(job.printer);
    auto *n = new NetPrintJob(
        address, job.uncertain ? reprint_mark(payload) : payload, m_timeout_ms, this);
    connect(n, &NetPrintJob::finished, this, [this, n, job](bool ok) {
        m_sending.remove(job.printer);
        finish(job, ok, n->maybe_printed(), n->error());
        n->deleteLater();
        kick();
    });
    n->start();
}

bool PrintSpool::print_on_queue(const PrintJob &, const QByteArray &json, QString &reason)
{
    CollectingPrompts prompts;
    const Settings &s = m_ctx.settings;
    const PrintOutcome o = print_document(prompts,
                                          m_ctx.print_device(),
                                          s.cdprintname,
                                          QString::fromUtf8(json),
                                          s.cdprintnums,
                                          layout_length(s.cdhj, 0.45),
                                          layout_length(s.cdtop, 0.06));
    reason = prompts.last;
    return o == PrintOutcome::Printed;
}

void PrintSpool::finish(const PrintJob &job, bool ok, bool uncertain, const QString &reason)
{
    store_step([&] {
        TSQLiteDatabase db(m_ctx.db_path);
        db.ExecSQL(QStringLiteral("UPDATE mivo_print_job SET stat=?,error=?,"
                                  "uncertain=max(uncertain,?) WHERE id=?"),
                   {ok ? int(JobState::Printed) : int(JobState::Failed),
                    ok ? QString() : reason,
                    uncertain ? 1 : 0,
                    job.id});
    });
    if (ok)
        emit printed(job.id);
    else
        emit failed(job.id, job_failure_text(job, reason));
    emit jobs_changed();
}
