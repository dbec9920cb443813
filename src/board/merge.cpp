#include "board/merge.h"

#include "app/helpers.h"
#include "app/notifier.h"
#include "board/desk_state.h"
#include "checkout/checkout.h"
#include "ordering/orders.h"
#include "store/sqlite_db.h"

namespace {

struct Side
{
    bool taken = false;
    QString order;
    qint64 nums = 0;
    double yj = 0;
};

Side read_side(TSQLiteDatabase &db, const QString &desk)
{
    Side s;
    const TSQLiteTable t
        = db.GetTable(QStringLiteral("SELECT stat,nums,yj FROM lumo_desk where id=?"), {desk});
    if (t.Count() == 0 || desk_stat_code(t.FieldAsString(0)) == QLatin1String("0"))
        return s;
    s.taken = true;
    s.nums = int_value(t.FieldAsString(1).trimmed(), 0);
    s.yj = num_value(t.FieldAsString(2).trimmed());
    s.order = get_desk_order_id(db, desk);
    return s;
}

} // namespace

MergeResult merge_desks(AppContext &ctx, const QString &desk_id, const QString &other_desk)
{
    MergeResult r;
    if (desk_id.isEmpty() || other_desk.isEmpty() || desk_id == other_desk) {
        r.message = MergeSameText;
        return r;
    }
    QString moved_order;
    try {
        TSQLiteDatabase db(ctx.db_path);
        db.transaction([&] {
            const Side here = read_side(db, desk_id);
            const Side other = read_side(db, other_desk);
            // Read under the write lock: a table settled or freed at another counter
            // since the list was shown has no bill left to join.
            if (!here.taken || !other.taken || here.order == NoOrderId
                || other.order == NoOrderId) {
                r.message = MergeGoneText;
                return;
            }
            moved_order = other.order;
            db.ExecSQL(QStringLiteral("UPDATE lumo_orders_detail set rootid=?,deskid=? where "
                                      "rootid=?"),
                       {here.order, desk_id, other.order});
            db.ExecSQL(QStringLiteral("UPDATE mivo_payment set orderid=? where orderid=? AND "
                                      "stat=0"),
                       {here.order, other.order});
            const qint64 guests = here.nums + other.nums;
            db.ExecSQL(QStringLiteral("UPDATE lumo_desk set nums=?,yj=? where id=?"),
                       {guests, round_cents(here.yj + other.yj), desk_id});
            db.ExecSQL(QStringLiteral("UPDATE lumo_orders set nums=? where id=?"),
                       {guests, here.order});
            // The emptied order stays with the freed table for its next party, as a
            // transfer leaves one.
            db.ExecSQL(QStringLiteral("UPDATE lumo_desk SET stat=0,yj=0,price='0.00',nums=0,"
                                      "fwy='',ydtruename='',addtime=0 where id=?"),
                       {other_desk});
            recompute_order_total(db, other.order);
            cal_desk_price(ctx, db, desk_id);
            r.ok = true;
            r.order_id = here.order;
            r.message = MergeDoneText;
        });
    } catch (const ESQLiteException &e) {
        r.ok = false;
        r.message = store_failure_text(e);
        return r;
    }
    if (!r.ok)
        return r;
    ChangeNotifier &n = ctx.notifier();
    emit n.lines_changed(r.order_id, desk_id);
    emit n.lines_changed(moved_order, other_desk);
    emit n.desk_changed(desk_id);
    emit n.desk_changed(other_desk);
    return r;
}
