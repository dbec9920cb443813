#include "printing/order_prints.h"

#include "app/helpers.h"
#include "app/notifier.h"
#include "ordering/orders.h"
#include "printing/escpos.h"
#include "printing/net_printer.h"
#include "printing/print_queue.h"
#include "printing/receipt_payments.h"
#include "store/sqlite_db.h"

#include <cmath>

namespace {

QString resolve_order(TSQLiteDatabase &db, const QString &desk_id, const QString &order_id)
{
    const QString id = order_id.trimmed();
    if (id.isEmpty() || id == QLatin1String("0"))
        return get_desk_order_id(db, desk_id);
    return id;
}

QString shop_title(const QString &shopname)
{
    return shopname.isEmpty() ? QStringLiteral("匿名店铺") : shopname;
}

QString money_text(const QString &stored)
{
    bool ok = false;
    const double v = stored.trimmed().toDouble(&ok);
    return format_money(ok && std::isfinite(v) ? v : 0.0);
}

QString now_text(const AppContext &ctx)
{
    return format_time(unix_now(ctx.clock()));
}

ComposedPrint stopped(PrintOutcome outcome, const QString &message)
{
    ComposedPrint c;
    c.outcome = outcome;
    c.message = message;
    return c;
}

// The status a filter keeps; -1 for every line.
int filter_stat(KitchenFilter filter)
{
    switch (filter) {
    case KitchenFilter::New:
        return 0;
    case KitchenFilter::Served:
        return 3;
    case KitchenFilter::Returned:
        return 8;
    case KitchenFilter::All:
        break;
    }
    return -1;
}

} // namespace

PrintOutcome deliver_print(AppContext &ctx,
                           const ComposedPrint &c,
                           const QString &printer,
                           int rows_per_page,
                           const QString &top,
                           const QString &pitch)
{
    if (!c.message.isEmpty()) {
        ctx.prompts().warning(c.message);
        return c.outcome;
    }
    // A thermal printer on the network gets the document as ESC/POS through the print
    // queue: the counter does not wait for it, and a failure is reported by the queue.
    if (is_net_printer(printer)) {
        const bool receipt = printer == ctx.settings.kdprintname;
        {
            TSQLiteDatabase db(ctx.db_path);
            add_print_job(ctx,
                          db,
                          QueuedJob{QStringLiteral("0"),
                                    receipt ? QStringLiteral("客打") : QStringLiteral("厨打"),
                                    printer.trimmed(),
                                    receipt ? QStringLiteral("receipt") : QStringLiteral("kitchen"),
                                    {},
                                    ctx.desk_id,
                                    escpos::render_document(c.rows, escpos::Columns80)});
        }
        emit ctx.notifier().print_queued();
        return PrintOutcome::Printed;
    }
    return print_document(ctx.prompts(),
                          ctx.print_device(),
                          printer,
                          compose_print_document(c.rows),
                          rows_per_page,
                          layout_length(pitch, 0.45),
                          layout_length(top, 0.06));
}

double layout_length(const QString &text, double def)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(v) ? v : def;
}

ComposedPrint compose_receipt(const AppContext &ctx,
                              const QString &shopname,
                              const QString &desk_bh,
                              const QString &desk_id,
                              const QString &order_id)
{
    const QStringList x = ctx.settings.kdstr.trimmed().split(QLatin1Char(','));
    if (x.size() != 3)
        return stopped(PrintOutcome::BadLayout, ReceiptLayoutText);

    ComposedPrint c;
    c.rows.append({{x[0], shop_title(shopname), true, false},
                   {x[1], QStringLiteral("桌号：") + desk_bh, true, false}});
    c.rows.append({{x[0], QStringLiteral("菜品"), true, false},
                   {x[1], QStringLiteral("份"), true, false},
                   {x[2], QStringLiteral("小计"), true, false}});

    // Lines and amounts as of one moment: a dish another counter adds meanwhile is
    // either listed and counted, or neither.
    TSQLiteTable lines;
    TSQLiteTable o;
    QStringList payments;
    {
        TSQLiteDatabase db(ctx.db_path);
        db.snapshot([&] {
            const QString order = resolve_order(db, desk_id, order_id);
            lines = db.GetTable(
                QStringLiteral("SELECT id,title,oneprice,quantity,price,addtime,stat,zfidstr "
                               "FROM lumo_orders_detail where rootid=? order by id ASC"),
                {order});
            o = db.GetTable(
                QStringLiteral("SELECT paytime,allprice,price FROM lumo_orders where id=?"),
                {order});
            const QString paid
                = o.Count() > 0 ? o.value(QStringLiteral("paytime")).trimmed() : QString();
            payments = receipt_payment_rows(
                db, order, desk_id, !paid.isEmpty() && paid != QLatin1String("0"));
        });
    }
    if (lines.Count() == 0)
        return stopped(PrintOutcome::NoLines, NoOrderText);
    const int title = lines.FieldIndex(QStringLiteral("title"));
    const int oneprice = lines.FieldIndex(QStringLiteral("oneprice"));
    const int quantity = lines.FieldIndex(QStringLiteral("quantity"));
    const int stat = lines.FieldIndex(QStringLiteral("stat"));
    for (; !lines.isEof(); lines.Next()) {
        const bool returned = lines.FieldAsString(stat) == QLatin1String("8");
        const double subtotal
            = double(lines.FieldAsInteger(quantity)) * lines.FieldAsDouble(oneprice);
        c.rows.append({{x[0], lines.FieldAsString(title), false, returned},
                       {x[1], lines.FieldAsString(quantity), false, returned},
                       {x[2], format_money(subtotal), false, returned}});
    }

    const QString paytime
        = o.Count() > 0 ? o.value(QStringLiteral("paytime")).trimmed() : QString();
    const bool settled = !paytime.isEmpty() && paytime != QLatin1String("0");
    const auto footer = [&](const QString &text) {
        c.rows.append({{x[0], text, false, false}});
    };
    footer(QStringLiteral("订单金额：")
           + money_text(o.Count() > 0 ? o.value(QStringLiteral("allprice")) : QString()));
    footer(QStringLiteral("您需支付：")
           + money_text(o.Count() > 0 ? o.value(QStringLiteral("price")) : QString()));
    for (const QString &row : std::as_const(payments))
        footer(row);
    footer(QStringLiteral("日期：") + now_text(ctx));
    if (settled && ctx.settings.is_paytime == 1)
        footer(QStringLiteral("结账时间：") + format_time(paytime));
    if (ctx.settings.is_shopaddress == 1)
        footer(QStringLiteral("地址：") + ctx.settings.shopaddress);
    if (ctx.settings.is_shoptel == 1)
        footer(QStringLiteral("联系电话：") + ctx.settings.shoptel);
    return c;
}

ComposedPrint compose_kitchen_ticket(const AppContext &ctx,
                                     const QString &shopname,
                                     const QString &desk_bh,
                                     const QString &desk_id,
                                     const QString &order_id,
                                     KitchenFilter filter)
{
    const QStringList x = ctx.settings.cdstr.trimmed().split(QLatin1Char(','));
    if (x.size() != 5)
        return stopped(PrintOutcome::BadLayout, KitchenLayoutText);

    ComposedPrint c;
    c.rows.append({{x[0], shop_title(shopname), false, false},
                   {x[1], QStringLiteral("桌号：") + desk_bh, false, false}});
    c.rows.append({{x[0], QStringLiteral("菜品"), true, false},
                   {x[1], QStringLiteral("份"), true, false},
                   {x[2], QStringLiteral("做法"), true, false},
                   {x[3], QStringLiteral("状态"), true, false},
                   {x[4], QStringLiteral("备注"), true, false}});

    TSQLiteDatabase db(ctx.db_path);
    const QString order = resolve_order(db, desk_id, order_id);
    QString sql
        = QStringLiteral("SELECT id,title,oneprice,quantity,price,addtime,stat,zfidstr,remark "
                         "FROM lumo_orders_detail where rootid=?");
    SqlParams params{order};
    if (const int s = filter_stat(filter); s >= 0) {
        sql += QStringLiteral(" and stat=?");
        params << s;
    }
    sql += QStringLiteral(" order by id ASC");
    TSQLiteTable lines = db.GetTable(sql, params);
    if (lines.Count() == 0)
        return stopped(PrintOutcome::NoLines, NoOrderText);
    for (; !lines.isEof(); lines.Next()) {
        const QString stat = lines.value(QStringLiteral("stat"));
        const bool returned = stat == QLatin1String("8");
        c.rows.append({{x[0], lines.value(QStringLiteral("title")), false, returned},
                       {x[1], lines.value(QStringLiteral("quantity")), false, returned},
                       {x[2], lines.value(QStringLiteral("zfidstr")), false, returned},
                       {x[3], line_stat_name(stat), false, returned},
                       {x[4], lines.value(QStringLiteral("remark")), false, returned}});
    }
    c.rows.append({{x[0], QStringLiteral("日期：") + now_text(ctx), false, false}});
    return c;
}

PrintOutcome print_receipt(AppContext &ctx,
                           const QString &shopname,
                           const QString &desk_bh,
                           const QString &desk_id,
                           const QString &order_id)
{
    const Settings &s = ctx.settings;
    return deliver_print(ctx,
                         compose_receipt(ctx, shopname, desk_bh, desk_id, order_id),
                         s.kdprintname,
                         s.kdprintnums,
                         s.kdtop,
                         s.kdhj);
}

PrintOutcome print_kitchen_ticket(AppContext &ctx,
                                  const QString &shopname,
                                  const QString &desk_bh,
                                  const QString &desk_id,
                                  const QString &order_id,
                                  KitchenFilter filter)
{
    const Settings &s = ctx.settings;
    return deliver_print(ctx,
                         compose_kitchen_ticket(ctx, shopname, desk_bh, desk_id, order_id, filter),
                         s.cdprintname,
                         s.cdprintnums,
                         s.cdtop,
                         s.cdhj);
}
