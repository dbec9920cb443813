#include "board/board.h"

#include "app/helpers.h"
#include "board/desk_state.h"
#include "ordering/orders.h"
#include "reports/takings.h"
#include "store/sqlite_db.h"

#include <cmath>

namespace {

const QString DeskColumns = QStringLiteral("id,title,bh,stat,nums,price,addtime,cid,cname");

DeskRecord record_of(const TSQLiteTable &t)
{
    DeskRecord r;
    r.id = t.FieldAsString(0);
    r.title = t.FieldAsString(1);
    r.bh = t.FieldAsString(2);
    r.stat = t.FieldAsString(3);
    r.nums = t.FieldAsString(4);
    r.price = t.FieldAsString(5);
    r.addtime = t.FieldAsString(6);
    r.cid = t.FieldAsString(7);
    r.cname = t.FieldAsString(8);
    return r;
}

} // namespace

QString desk_colour(const QString &stat)
{
    if (stat == QLatin1String("1"))
        return QString::fromLatin1(OpenColour);
    if (stat == QLatin1String("3"))
        return QString::fromLatin1(ReservedColour);
    if (stat == QLatin1String("5"))
        return QString::fromLatin1(CleaningColour);
    return QString::fromLatin1(FreeColour);
}

QString DeskRecord::text() const
{
    return QStringList{id, title, bh, stat, nums, price, addtime, cid, cname}.join(
        QStringLiteral("@@@"));
}

QVector<DeskRecord> load_desk_records(const AppContext &ctx)
{
    TSQLiteDatabase db(ctx.db_path);
    TSQLiteTable t = db.GetTable(
        QStringLiteral("SELECT %1 FROM lumo_desk order by sort ASC").arg(DeskColumns));
    QVector<DeskRecord> out;
    out.reserve(t.Count());
    for (; !t.isEof(); t.Next())
        out << record_of(t);
    return out;
}

DeskRecord desk_record(const AppContext &ctx, const QString &desk_id)
{
    const QString id = QString(desk_id).remove(QChar('\''));
    TSQLiteDatabase db(ctx.db_path);
    const TSQLiteTable t = db.GetTable(
        QStringLiteral("SELECT %1 FROM lumo_desk where id=? limit 1").arg(DeskColumns), {id});
    return t.Count() > 0 ? record_of(t) : DeskRecord();
}

QString tile_people_text(const DeskRecord &r)
{
    return r.nums + QStringLiteral("人");
}

QString tile_amount_text(const QString &bh, const QString &price)
{
    return QStringLiteral("桌") + bh.trimmed() + QStringLiteral("￥") + price.trimmed();
}

bool tile_amount_green(const QString &price)
{
    return price != QLatin1String("0");
}

QVector<DeskClass> load_desk_classes(const AppContext &ctx)
{
    TSQLiteDatabase db(ctx.db_path);
    TSQLiteTable t = db.GetTable(QStringLiteral("SELECT id,title FROM lumo_desk_class order by "
                                                "sort ASC"));
    QVector<DeskClass> out;
    for (; !t.isEof(); t.Next())
        out << DeskClass{t.FieldAsString(0), t.FieldAsString(1)};
    return out;
}

QVector<DeskAmount> load_desk_amounts(const AppContext &ctx)
{
    TSQLiteDatabase db(ctx.db_path);
    TSQLiteTable t
        = db.GetTable(QStringLiteral("SELECT id,price,bh FROM lumo_desk order by sort ASC"));
    QVector<DeskAmount> out;
    out.reserve(t.Count());
    for (; !t.isEof(); t.Next())
        out << DeskAmount{t.FieldAsString(0), t.FieldAsString(1), t.FieldAsString(2)};
    return out;
}

// ---- layout ----

int tiles_per_row(int window_width)
{
    // The order panel stands W - 440 from the left; n tiles with their gaps take
    // n x 165 pixels, so only whole tiles stand left of it.
    return int(std::floor(double(window_width - 440) / (TileSize + TileGap)));
}

int effective_page_size(int page_size)
{
    return page_size >= 1 ? page_size : 36;
}

int page_count(int tiles, int page_size)
{
    const int size = effective_page_size(page_size);
    return (tiles + size - 1) / size;
}

QPoint tile_position(int n, int per_row)
{
    const int row = (n + per_row - 1) / per_row; // ceil(n / per_row)
    const int col = (n - 1) % per_row;
    return QPoint(col * TileSize + col * TileGap + TileGap, row * 170 - 160);
}

BoardLayout
layout_board(const QStringList &cids, const QString &area, int page, int page_size, int per_row)
{
    BoardLayout out;
    const int size = effective_page_size(page_size);
    const int row_len = per_row < 1 ? 100 : per_row;
    const bool all = area.isEmpty() || area == QLatin1String("0");
    out.shown.fill(false, cids.size());
    out.positions.fill(QPoint(), cids.size());

    QVector<int> visible;
    for (int i = 0; i < cids.size(); ++i)
        if (all || cids[i] == area)
            visible << i;
    if (visible.isEmpty())
        return out;

    out.any_visible = true;
    out.visible_count = int(visible.size());
    out.page_count = page_count(out.visible_count, size);
    int n = 0;
    for (int k = 0; k < visible.size(); ++k) {
        if (k < (page - 1) * size || k >= page * size)
            continue;
        ++n;
        out.shown[visible[k]] = true;
        out.positions[visible[k]] = tile_position(n, row_len);
    }
    out.prev_enabled = page >= 2;
    out.next_enabled = page < out.page_count;
    return out;
}

// ---- order panel ----

QString desk_open_order(const AppContext &ctx, const QString &desk_id)
{
    return get_desk_order_id(ctx, desk_id);
}

QVector<PanelLine> panel_lines(const AppContext &ctx, const QString &desk_id)
{
    const QString order = desk_open_order(ctx, desk_id);
    TSQLiteDatabase db(ctx.db_path);
    TSQLiteTable t = db.GetTable(
        QStringLiteral("SELECT id,title,oneprice,quantity,price,addtime,stat,zfidstr FROM "
                       "lumo_orders_detail where rootid=? order by id ASC"),
        {order});
    QVector<PanelLine> out;
    out.reserve(t.Count());
    int i = 0;
    for (; !t.isEof(); t.Next()) {
        PanelLine l;
        l.no = line_number(++i);
        l.title = t.value(QStringLiteral("title"));
        l.zfidstr = t.value(QStringLiteral("zfidstr"));
        l.oneprice = t.value(QStringLiteral("oneprice"));
        l.quantity = t.value(QStringLiteral("quantity"));
        // The amount comes from the unit price and quantity, never the stored line price.
        l.amount = format_money(num_value(l.oneprice) * num_value(l.quantity));
        l.stat = t.value(QStringLiteral("stat"));
        l.status = line_stat_name(l.stat);
        out << l;
    }
    return out;
}

DeskInfo desk_info(const AppContext &ctx, const QString &desk_id)
{
    DeskInfo info;
    const DeskRow row = read_desk_row(ctx, desk_id);
    if (!row.found)
        return info;
    info.found = true;
    info.bh = row.bh;
    info.addtime = format_time(row.addtime);
    info.nums = row.nums;
    info.fwy = row.fwy;
    info.ydtruename = row.ydtruename;
    info.yj = row.yj;
    info.price = row.price;
    return info;
}

// ---- summary bar ----

BoardSummary board_summary(const AppContext &ctx)
{
    // Stored times are wall-clock seconds, so a local day is a whole multiple of 86400.
    const qint64 day = unix_now_secs(ctx.clock()) / 86400 * 86400;
    TSQLiteDatabase db(ctx.db_path);
    const double unsettled = db.GetTable(QStringLiteral("SELECT SUM(price) AS allnums FROM "
                                                        "lumo_desk"))
                                 .FieldAsDouble(0);
    // The same figure as the takings report's total for today.
    const double settled = settled_takings(db, Period{day, day + 86400});
    auto count = [&](const QString &where) {
        return db.scalar(QStringLiteral("SELECT count(*) AS allnums FROM lumo_desk") + where);
    };

    BoardSummary s;
    s.unsettled = format_money(unsettled);
    s.settled = format_money(settled);
    s.total = format_money(settled + unsettled);
    s.people = db.scalar(QStringLiteral("SELECT SUM(nums) AS allnums FROM lumo_desk"));
    s.all = QStringLiteral("全部：") + count(QString());
    s.free = QStringLiteral("空闲：") + count(QStringLiteral(" where stat=0"));
    s.reserved = QStringLiteral("预定：") + count(QStringLiteral(" where stat=3"));
    s.busy = QStringLiteral("占用：") + count(QStringLiteral(" where stat in(1,3,5,7)"));
    return s;
}
