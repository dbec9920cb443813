#include "board/clearing.h"

#include "board/board.h"
#include "store/sqlite_db.h"

namespace {
const QString Cleared = QStringLiteral("消台成功");
}

QString clear_desk(AppContext &ctx, const QString &desk_id)
{
    const QString order = desk_open_order(ctx, desk_id);
    TSQLiteDatabase db(ctx.db_path);
    const qint64 lines
        = db.scalar(
                QStringLiteral("SELECT count(*) AS nums FROM lumo_orders_detail where rootid=?"),
                {order})
              .toLongLong();
    if (lines > 0)
        return QStringLiteral("此桌位有未结算的订单，请先结算订单再消台");
    db.ExecSQL(QStringLiteral("UPDATE lumo_desk set stat=0,ydtruename='',fwy='',yj=0,addtime=0,"
                              "nums=0,gldesk='',price=0 where id=?;"),
               {desk_id});
    return Cleared;
}

bool clear_desk_succeeded(const QString &message)
{
    return message == Cleared;
}
