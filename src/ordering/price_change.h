#pragma once

#include "app/context.h"

#include <QString>
#include <QStringList>
#include <QVector>

// The batch price change: new unit prices, quantities and remarks for chosen
// order lines, then the order's stored total recomputed.

// A line as the price-change dialog lists it.
struct PriceLine
{
    QString id;
    QString title;
    QString quantity;
    QString oneprice; // general decimal form
    QString price;
    QString zfidstr;
    QString rootid;
    QString remark;
    QString subtotal; // quantity x unit price, general decimal form
};

// Line ids of a "1,2,3" text; pieces that are not whole numbers are dropped.
QStringList split_line_ids(const QString &ids);

// The lines with the given ids ("1,2,3") in the database's order.
QVector<PriceLine> read_price_lines(const AppContext &ctx, const QString &ids);

// The number rules of the dialog: a price that is not a number or below 0.01
// counts as 0; a quantity that is not a whole number above 0 counts as 1.
double price_value(const QString &text);
qint64 quantity_value(const QString &text);
// "小计" of a row: price x quantity under those rules, general decimal form.
QString price_subtotal(const QString &price, const QString &quantity);

// One row of the dialog as the cashier left it.
struct PriceEdit
{
    QString id;
    QString price;
    QString quantity;
    QString remark;
};

// The values a row is stored with.
struct StoredPrice
{
    QString oneprice; // "%.2f"
    QString quantity; // "%.0f"
    QString price;    // quantity x stored unit price, "%.0f"
    QString remark;   // trimmed, single quotes removed
};
StoredPrice stored_price(const PriceEdit &edit);

// The first row whose unit price or quantity is refused (check_unit_price,
// check_quantity), with the refusal; an empty id when every row is accepted.
struct PriceEditRefusal
{
    QString id;
    QString text;
    bool price = false; // the unit price was refused, else the quantity
};
PriceEditRefusal refused_price_edit(const QVector<PriceEdit> &edits);

// Writes every row and then recomputes the order's stored totals and its table's
// (recompute_order_total), all in one transaction. Returns the order total "%.2f".
// Writes nothing and returns empty text when a row is refused, or when the order
// or a line's order is settled or gone (LinesSettledText).
QString
save_price_changes(AppContext &ctx, const QString &order_id, const QVector<PriceEdit> &edits);

inline const QString PriceSavedText = QStringLiteral("批量价格修改成功");
