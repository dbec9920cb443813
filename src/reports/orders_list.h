#pragma once

#include "app/context.h"
#include "masterdata/list_page.h"

#include <QString>
#include <QVector>

// The orders list: every order ever written, dining orders and member recharges,
// newest first, 20 to a page, searched by the exact order number. It only reads.

inline constexpr int OrdersPageSize = 20;

// The page query: the orders with their table number through a join, so an
// order whose table was deleted still shows. A keyword must equal the order
// number; part of it finds nothing.
ListQuery orders_list_query();

// One page for the raw text of the keyword field.
ListPage read_orders_page(const AppContext &ctx, const QString &keyword_text, int page);

// The cells of one order of a page, as the list shows them.
struct OrderListRow
{
    QString id;
    QString number;   // "编号": running number across pages
    QString title;    // "订单名称"
    QString ordid;    // "订单号"
    QString addtime;  // "添加时间", "yyyy-mm-dd hh:mm"
    QString paytype;  // "支付方式"
    QString allprice; // "订单金额"
    QString paid;     // "实际支付"
    QString yj;       // "押金", as stored
    QString nums;     // "人数"
    QString deskid;
    QString kind;    // "类型": "充值" or "点餐"
    QString balance; // "扣除"
    QString deskno;  // the table number, empty when the table is gone
};
OrderListRow order_list_row(const ListPage &page, int row);

// "实际支付": what was paid. A settled dining order shows its price whatever its
// status (a table reserved after the meal leaves stat 3 on a paid order), a
// recharge once it is paid; an open order and a pending recharge show 0.00.
QString order_paid_text(const QString &tid,
                        const QString &iscal,
                        const QString &stat,
                        const QString &price);

// One line of the order shown beside the list; returned lines included.
struct ShownLine
{
    QString id;
    QString title;    // "名称"
    QString oneprice; // "单价", in general decimal form (18.5, 2)
    QString quantity; // "数量"
    QString amount;   // "金额": quantity × unit price, "%.2f"
};
// The lines of an order in the order they were written; none for an empty id.
QVector<ShownLine> read_shown_lines(const AppContext &ctx, const QString &order_id);
