#include "board/clearing.h"

#include "app/notifier.h"
#include "ordering/orders.h"
#include "staff/sign_in.h"
#include "store/sqlite_db.h"

namespace {
const QString Cleared = QStringLiteral("消台成功");
}

QString clear_desk(AppContext &ctx, const QString &desk_id)
{
    if (!signed_in(ctx))
        return SignInFirstText;
    TSQLiteDatabase db(ctx.db_path);
    QString message = Cleared;
    // Count and update under one write lock: another counter's lines written in
    // between would otherwise be left on a freed table.
    db.transaction([&] {
        // The board may still show a table deleted at another counter.
        if (db.scalar(QStringLiteral("SELECT count(*) FROM lumo_desk where id=?"), {desk_id})
            == QLatin1String("0")) {
            message = QStringLiteral("桌号不存在，可能已删除");
            return;
        }
        const QString order = get_desk_order_id(db, desk_id);
        const qint64 lines = db.scalar(QStringLiteral("SELECT count(*) AS nums FROM "
                                                      "lumo_orders_detail where rootid=?"),
                                       {order})
                                 .toLongLong();
        if (lines > 0) {
            message = QStringLiteral("此桌位有未结算的订单，请先结算订单再消台");
            return;
        }
        db.ExecSQL(QStringLiteral("UPDATE lumo_desk set stat=0,ydtruename='',fwy='',yj=0,"
                                  "addtime=0,nums=0,gldesk='',price=0 where id=?;"),
                   {desk_id});
    });
    if (message == Cleared)
        ctx.notifier().desk_changed(desk_id);
    return message;
}

bool clear_desk_succeeded(const QString &message)
{
    return message == Cleared;
}
