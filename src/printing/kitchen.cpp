#include "printing/kitchen.h"

#include "app/helpers.h"
#include "app/ini.h"
#include "app/notifier.h"
#include "printing/escpos.h"
#include "printing/net_printer.h"
#include "printing/print_document.h"
#include "printing/print_queue.h"
#include "store/sqlite_db.h"

#include <QMap>
#include <QSet>

#include <algorithm>

namespace {

QStringList split_ids(const QString &text)
{
    QStringList out;
    for (const QString &p : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (const QString t = p.trimmed(); !t.isEmpty())
            out << t;
    }
    return out;
}

// Where a ticket goes: a station, or ("0") the kitchen printer of the settings.
struct Route
{
    QString id;
    QString title;
    QString printer;
    int copies = 1;
    int columns = escpos::Columns80;
};

QVector<Route> routes(const AppContext &ctx,
                      TSQLiteDatabase &db,
                      QMap<QString, Route> &by_id,
                      QMap<QString, QStringList> &cids)
{
    QVector<Route> out;
    TSQLiteTable t
        = db.GetTable(QStringLiteral("SELECT id,title,printer,cids,copies,enabled,columns FROM "
                                     "mivo_print_station ORDER BY id"));
    for (; !t.isEof(); t.Next()) {
        Route r{t.value(QStringLiteral("id")),
                t.value(QStringLiteral("title")),
                t.value(QStringLiteral("printer")).trimmed(),
                int(std::clamp<qint64>(t.integer(QStringLiteral("copies")), 1, 9)),
                t.integer(QStringLiteral("columns")) == escpos::Columns58 ? escpos::Columns58
                                                                          : escpos::Columns80};
        by_id.insert(r.id, r);
        cids.insert(r.id, split_ids(t.value(QStringLiteral("cids"))));
        if (t.integer(QStringLiteral("enabled")) != 0 && !r.printer.isEmpty())
            out.append(r);
    }
    const QString kitchen = ctx.settings.cdprintname.trimmed();
    if (!kitchen.isEmpty())
        by_id.insert(
            QStringLiteral("0"),
            Route{QStringLiteral("0"), QStringLiteral("厨打"), kitchen, 1, escpos::Columns80});
    return out;
}

// The stations that take a category; the kitchen printer when none does (or nothing).
QStringList stations_for(const QVector<Route> &stations,
                         const QMap<QString, Route> &by_id,
                         const QMap<QString, QStringList> &cids,
                         const QString &cid)
{
    QStringList out;
    for (const Route &r : stations) {
        if (!cid.isEmpty() && cids.value(r.id).contains(cid))
            out << r.id;
    }
    if (out.isEmpty() && by_id.contains(QStringLiteral("0")))
        out << QStringLiteral("0");
    return out;
}

struct OrderHead
{
    QString desk_id;
    QString desk_bh;
    QString waiter;
};

OrderHead order_head(const AppContext &ctx, TSQLiteDatabase &db, const QString &order_id)
{
    const TSQLiteTable t = db.GetTable(
        QStringLiteral("SELECT o.deskid,o.fwy,k.bh FROM lumo_orders AS o LEFT JOIN lumo_desk AS "
                       "k ON k.id=o.deskid WHERE o.id=? LIMIT 1"),
        {order_id});
    OrderHead h;
    if (t.Count() > 0) {
        h.desk_id = t.value(QStringLiteral("deskid"));
        h.desk_bh = t.value(QStringLiteral("bh"));
        h.waiter = t.value(QStringLiteral("fwy")).trimmed();
    }
    if (h.waiter.isEmpty())
        h.waiter = ctx.account.username;
    return h;
}

// The ticket as a print document, for a kitchen printer that is a system queue.
QByteArray
station_document(const AppContext &ctx, const TicketHead &head, const QVector<TicketLine> &lines)
{
    QStringList x = ctx.settings.cdstr.trimmed().split(QLatin1Char(','));
    if (x.size() != 5)
        x = QStringList{"0.0", "3.1", "3.7", "4.7", "5.7"};
    QVector<PrintRow> rows;
    rows.append({{x[0], head.returns ? QStringLiteral("退菜单") : head.station, true, false},
                 {x[1], QStringLiteral("桌号：") + head.desk_bh, true, false}});
    rows.append({{x[0], QStringLiteral("菜品"), true, false},
                 {x[1], QStringLiteral("份"), true, false},
                 {x[2], QStringLiteral("做法"), true, false},
                 {x[4], QStringLiteral("备注"), true, false}});
    for (const TicketLine &l : lines) {
        rows.append(
            {{x[0], l.title + (l.more ? QStringLiteral("（加）") : QString()), false, head.returns},
             {x[1], QString::number(l.quantity), false, head.returns},
             {x[2], l.methods, false, head.returns},
             {x[4], l.remark, false, head.returns}});
    }
    rows.append({{x[0], QStringLiteral("时间：") + head.time, false, false}});
    rows.append({{x[0], QStringLiteral("服务员：") + head.waiter, false, false}});
    return compose_print_document(rows).toUtf8();
}

int queue_tickets(AppContext &ctx,
                  TSQLiteDatabase &db,
                  const QString &order_id,
                  const OrderHead &head,
                  const QMap<QString, Route> &by_id,
                  const QMap<QString, QVector<TicketLine>> &tickets,
                  bool returns)
{
    int queued = 0;
    for (auto it = tickets.begin(); it != tickets.end(); ++it) {
        const Route r = by_id.value(it.key());
        if (r.printer.isEmpty() || it.value().isEmpty())
            continue;
        const TicketHead th{
            r.title, head.desk_bh, format_time(unix_now(ctx.clock())), head.waiter, returns};
        QByteArray payload;
        if (is_net_printer(r.printer)) {
            const QByteArray one = station_ticket(th, it.value(), r.columns);
            for (int c = 0; c < r.copies; ++c)
                payload += one;
        } else {
            payload = station_document(ctx, th, it.value());
        }
        add_print_job(ctx,
                      db,
                      QueuedJob{r.id,
                                r.title,
                                r.printer,
                                returns ? QStringLiteral("return") : QStringLiteral("kitchen"),
                                order_id,
                                head.desk_id,
                                payload});
        ++queued;
    }
    return queued;
}

} // namespace

QVector<PrintStation> read_stations(const AppContext &ctx)
{
    TSQLiteDatabase db(ctx.db_path);
    TSQLiteTable t
        = db.GetTable(QStringLiteral("SELECT id,title,printer,cids,copies,enabled,columns FROM "
                                     "mivo_print_station ORDER BY id"));
    QVector<PrintStation> out;
    for (; !t.isEof(); t.Next()) {
        out.append(PrintStation{t.value(QStringLiteral("id")),
                                t.value(QStringLiteral("title")),
                                t.value(QStringLiteral("printer")),
                                t.value(QStringLiteral("cids")),
                                int(t.integer(QStringLiteral("copies"))),
                                t.integer(QStringLiteral("enabled")) != 0,
                                int(t.integer(QStringLiteral("columns")))});
    }
    return out;
}

QString save_station(AppContext &ctx, PrintStation &s)
{
    s.title = strip_quotes(s.title).trimmed();
    s.printer = s.printer.trimmed();
    if (s.title.isEmpty())
        return StationTitleMissingText;
    if (s.printer.isEmpty())
        return StationPrinterMissingText;
    if (s.copies < 1 || s.copies > 9)
        return StationCopiesText;
    s.cids = split_ids(s.cids).join(QLatin1Char(','));
    s.columns = s.columns == escpos::Columns58 ? escpos::Columns58 : escpos::Columns80;
    {
        TSQLiteDatabase db(ctx.db_path);
        const SqlParams values{s.title, s.printer, s.cids, s.copies, s.enabled ? 1 : 0, s.columns};
        if (s.id.isEmpty()) {
            db.ExecSQL(QStringLiteral("INSERT INTO mivo_print_station(title,printer,cids,copies,"
                                      "enabled,columns)VALUES(?,?,?,?,?,?)"),
                       values);
            s.id = QString::number(db.GetLastInsertRowID());
        } else {
            db.ExecSQL(QStringLiteral("UPDATE mivo_print_station SET title=?,printer=?,cids=?,"
                                      "copies=?,enabled=?,columns=? WHERE id=?"),
                       SqlParams(values) << s.id);
        }
    }
    emit ctx.notifier().settings_changed();
    return {};
}

void delete_station(AppContext &ctx, const QString &id)
{
    {
        TSQLiteDatabase db(ctx.db_path);
        db.ExecSQL(QStringLiteral("DELETE FROM mivo_print_station WHERE id=?"), {id});
    }
    emit ctx.notifier().settings_changed();
}

bool auto_kitchen(const AppContext &ctx)
{
    return IniFile(ctx.paths.ini)
               .readInt(QStringLiteral("Print"), QStringLiteral("auto_kitchen"), 0)
           == 1;
}

void set_auto_kitchen(const AppContext &ctx, bool on)
{
    IniFile(ctx.paths.ini).writeInt(QStringLiteral("Print"), QStringLiteral("auto_kitchen"), on);
    emit ctx.notifier().settings_changed();
}

bool cash_drawer(const AppContext &ctx)
{
    return IniFile(ctx.paths.ini).readInt(QStringLiteral("Print"), QStringLiteral("cash_drawer"), 0)
           == 1;
}

void set_cash_drawer(const AppContext &ctx, bool on)
{
    IniFile(ctx.paths.ini).writeInt(QStringLiteral("Print"), QStringLiteral("cash_drawer"), on);
    emit ctx.notifier().settings_changed();
}

int queue_new_lines(AppContext &ctx, TSQLiteDatabase &db, const QString &order_id)
{
    QMap<QString, Route> by_id;
    QMap<QString, QStringList> cids;
    const QVector<Route> stations = routes(ctx, db, by_id, cids);
    // Unsent lines, and lines the kitchen has in another quantity; never the
    // tableware line (dish 0), a returned or a settled line.
    TSQLiteTable t = db.GetTable(
        QStringLiteral("SELECT d.id,d.title,d.quantity,d.zfidstr,d.remark,d.stat,c.cid,"
                       "s.line_id AS sent,s.quantity AS sent_quantity,s.stations FROM "
                       "lumo_orders_detail AS d LEFT JOIN lumo_caipin AS c ON c.id=d.caipinid "
                       "LEFT JOIN mivo_kitchen_sent AS s ON s.line_id=d.id WHERE d.rootid=? AND "
                       "d.caipinid<>0 AND d.stat NOT IN(8,9) AND (d.stat=0 OR (s.line_id IS NOT "
                       "NULL AND s.quantity<>d.quantity)) ORDER BY d.id"),
        {order_id});
    if (t.Count() == 0)
        return 0;
    QMap<QString, QVector<TicketLine>> fresh;
    QMap<QString, QVector<TicketLine>> back;
    QStringList sent_ids;
    const QString now = unix_now(ctx.clock());
    for (; !t.isEof(); t.Next()) {
        const bool known = !t.value(QStringLiteral("sent")).isEmpty();
        const qint64 quantity = t.integer(QStringLiteral("quantity"));
        const qint64 had = known ? t.integer(QStringLiteral("sent_quantity")) : 0;
        QStringList where = known ? split_ids(t.value(QStringLiteral("stations")))
                                  : stations_for(stations, by_id, cids, t.value("cid"));
        // A station removed since keeps nothing: its lines go where the dish goes now.
        where.erase(std::remove_if(where.begin(),
                                   where.end(),
                                   [&](const QString &id) { return !by_id.contains(id); }),
                    where.end());
        if (known && where.isEmpty())
            where = stations_for(stations, by_id, cids, t.value("cid"));
        if (where.isEmpty())
            continue; // no printer for it: it stays a new line
        const TicketLine line{t.value(QStringLiteral("title")),
                              std::abs(quantity - had),
                              t.value(QStringLiteral("zfidstr")),
                              t.value(QStringLiteral("remark")),
                              known && quantity > had};
        for (const QString &id : where) {
            if (quantity > had)
                fresh[id].append(line);
            else if (quantity < had)
                back[id].append(line);
        }
        const QString line_id = t.value(QStringLiteral("id"));
        db.ExecSQL(QStringLiteral("INSERT OR REPLACE INTO mivo_kitchen_sent(line_id,order_id,"
                                  "stations,quantity,addtime)VALUES(?,?,?,?,?)"),
                   {line_id, order_id, where.join(QLatin1Char(',')), quantity, now});
        if (t.integer(QStringLiteral("stat")) == 0)
            sent_ids << line_id;
    }
    if (!sent_ids.isEmpty()) {
        const BoundIds list = bound_ids(sent_ids.join(QLatin1Char(',')));
        db.ExecSQL(QStringLiteral("UPDATE lumo_orders_detail SET stat=1 WHERE stat=0 AND id in(")
                       + list.placeholders + QStringLiteral(")"),
                   list.values);
    }
    const OrderHead head = order_head(ctx, db, order_id);
    return queue_tickets(ctx, db, order_id, head, by_id, fresh, false)
           + queue_tickets(ctx, db, order_id, head, by_id, back, true);
}

int queue_returned_lines(AppContext &ctx, TSQLiteDatabase &db, const QString &ids)
{
    const BoundIds list = bound_ids(ids);
    if (list.isEmpty())
        return 0;
    TSQLiteTable t = db.GetTable(
        QStringLiteral("SELECT d.id,d.rootid,d.title,d.zfidstr,d.remark,s.quantity,s.stations "
                       "FROM lumo_orders_detail AS d JOIN mivo_kitchen_sent AS s ON "
                       "s.line_id=d.id WHERE d.stat<>8 AND d.id in(")
            + list.placeholders + QStringLiteral(") ORDER BY d.rootid,d.id"),
        list.values);
    if (t.Count() == 0)
        return 0;
    QMap<QString, Route> by_id;
    QMap<QString, QStringList> cids;
    routes(ctx, db, by_id, cids);
    QMap<QString, QMap<QString, QVector<TicketLine>>> by_order;
    for (; !t.isEof(); t.Next()) {
        const TicketLine line{t.value(QStringLiteral("title")),
                              t.integer(QStringLiteral("quantity")),
                              t.value(QStringLiteral("zfidstr")),
                              t.value(QStringLiteral("remark")),
                              false};
        for (const QString &id : split_ids(t.value(QStringLiteral("stations"))))
            by_order[t.value(QStringLiteral("rootid"))][id].append(line);
    }
    db.ExecSQL(QStringLiteral("DELETE FROM mivo_kitchen_sent WHERE line_id in(") + list.placeholders
                   + QStringLiteral(")"),
               list.values);
    int queued = 0;
    for (auto it = by_order.begin(); it != by_order.end(); ++it)
        queued += queue_tickets(
            ctx, db, it.key(), order_head(ctx, db, it.key()), by_id, it.value(), true);
    return queued;
}

namespace {

bool queue_drawer(AppContext &ctx)
{
    const QString printer = ctx.settings.kdprintname.trimmed();
    if (!is_net_printer(printer))
        return false;
    {
        TSQLiteDatabase db(ctx.db_path);
        add_print_job(ctx,
                      db,
                      QueuedJob{QStringLiteral("0"),
                                QStringLiteral("客打"),
                                printer,
                                QStringLiteral("drawer"),
                                {},
                                {},
                                escpos::init() + escpos::drawer_pulse()});
    }
    emit ctx.notifier().print_queued();
    return true;
}

} // namespace

bool queue_cash_drawer(AppContext &ctx, const QString &paytype)
{
    // 5 is what "现金(直接结算)" stores.
    if (paytype.trimmed() != QLatin1String("5") || !cash_drawer(ctx))
        return false;
    try {
        return queue_drawer(ctx);
    } catch (const ESQLiteException &) {
        return false; // the bill is settled whatever the drawer does
    }
}

QString open_drawer(AppContext &ctx)
{
    return queue_drawer(ctx) ? QString() : DrawerNeedsNetText;
}

QByteArray station_ticket(const TicketHead &head, const QVector<TicketLine> &lines, int columns)
{
    escpos::Writer w(columns);
    w.line(head.returns ? QStringLiteral("退菜单 · ") + head.station
                        : QStringLiteral("厨房单 · ") + head.station,
           head.returns ? escpos::Bold | escpos::Tall : escpos::Bold);
    w.line(QStringLiteral("桌号：") + head.desk_bh, escpos::Bold | escpos::Tall);
    w.line(QStringLiteral("时间：") + head.time);
    if (!head.waiter.isEmpty())
        w.line(QStringLiteral("服务员：") + head.waiter);
    w.rule();
    qint64 total = 0;
    for (const TicketLine &l : lines) {
        w.split_line(l.title + (l.more ? QStringLiteral("（加）") : QString()),
                     QStringLiteral("×") + QString::number(l.quantity),
                     escpos::Bold | escpos::Tall);
        if (!l.methods.isEmpty())
            w.line(QStringLiteral("  做法：") + l.methods);
        if (!l.remark.isEmpty())
            w.line(QStringLiteral("  备注：") + l.remark);
        total += l.quantity;
    }
    w.rule();
    w.line(QStringLiteral("共 %1 份").arg(total));
    return w.finish();
}
