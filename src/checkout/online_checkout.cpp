#include "checkout/online_checkout.h"

#include "app/helpers.h"
#include "app/notifier.h"
#include "checkout/checkout.h"
#include "store/sqlite_db.h"

PayRequest checkout_pay_request(AppContext &ctx,
                                const QString &order_id,
                                const QString &method,
                                double payprice,
                                double allprice)
{
    TSQLiteDatabase db(ctx.db_path);
    const QString title = db.scalar(QStringLiteral("SELECT title FROM lumo_orders_detail "
                                                   "where rootid=? order by id limit 1"),
                                    {order_id});
    return {method == QLatin1String("2") ? QStringLiteral("1") : QStringLiteral("0"),
            payprice,
            allprice,
            title};
}

void record_checkout_ordid(AppContext &ctx, const QString &order_id, const QString &ordid)
{
    TSQLiteDatabase db(ctx.db_path);
    db.ExecSQL(QStringLiteral("UPDATE lumo_orders set ordid=? where id=?"), {ordid, order_id});
    ctx.notifier().lines_changed(order_id, QString());
}

bool order_still_open(AppContext &ctx, const QString &order_id)
{
    TSQLiteDatabase db(ctx.db_path);
    return db.scalar(QStringLiteral("SELECT iscal FROM lumo_orders where id=? limit 1"), {order_id})
           == QLatin1String("0");
}

QString settled_meanwhile_message()
{
    return QStringLiteral("这笔在线支付对应的订单已经结算过，未再次结算，请核对是否需要退款");
}

QString paid_amount_refusal(const QString &reported_price, double asked)
{
    const QString price = reported_price.trimmed();
    if (price.isEmpty())
        return QString();
    if (is_num_text(price) && cents_half_up(num_value(price)) == cents_half_up(asked))
        return QString();
    return QStringLiteral("支付服务报告已支付%1元，与应付金额%2元不符，未结算，请核对后处理")
        .arg(price, format_money(asked));
}
