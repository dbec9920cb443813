#pragma once

#include "app/context.h"

#include <QString>
#include <QStringList>
#include <QVector>

class TSQLiteDatabase;

// A table's bill: its open order (iscal=0, at most one per table) and the order lines.

// Stands for "this table has no open order"; a line query by it finds nothing.
inline const QString NoOrderId = QStringLiteral("9999999999999");

// Id of the table's open order, or NoOrderId when the id is empty or there is none.
QString get_desk_order_id(const AppContext &ctx, const QString &desk_id);
// The same on an open connection, so a caller can read it inside its transaction.
QString get_desk_order_id(TSQLiteDatabase &db, const QString &desk_id);

// Id of the current table's open order (ctx.desk_id), created when missing with the
// given guest data and, when the per-guest fee is above 0, its tableware line.
// Empty text when no table is current. An empty guest count counts as "0".
QString add_desk_order(AppContext &ctx,
                       const QString &truename,
                       const QString &yj,
                       const QString &fwy,
                       const QString &nums);
// The same on an open connection (so a caller can make it part of its transaction).
QString add_desk_order(AppContext &ctx,
                       TSQLiteDatabase &db,
                       const QString &truename,
                       const QString &yj,
                       const QString &fwy,
                       const QString &nums);

// The same for the given table, whatever the board has selected.
QString add_order_for_desk(AppContext &ctx,
                           TSQLiteDatabase &db,
                           const QString &desk_id,
                           const QString &truename,
                           const QString &yj,
                           const QString &fwy,
                           const QString &nums);

// The order's values of the given columns ("a,b,c"); all empty when there is no such order.
QStringList
get_order_fields(const AppContext &ctx, const QString &order_id, const QString &columns);

// One dish of a submit, as the ordering screen gathers it; every value is text.
struct CartItem
{
    QString id; // dish id
    QString title;
    QString price;    // the dish's stored price text
    QString quantity; // whole number
    QString stock;
    QString zfid;    // method ids joined with ","
    QString zfidstr; // method titles joined with ","
    QString remark;
};

QByteArray cart_to_json(const QVector<CartItem> &items);
QVector<CartItem> cart_from_json(const QByteArray &json);

// Writes the cart into the order as one transaction: a line of the same dish with
// exactly the same method ids is replaced (quantity, price, methods, remark; its
// status, time and title stay), any other dish gets a new line. Then the stored
// totals of the order and its table are recomputed from the live lines.
void write_cart(AppContext &ctx,
                const QString &order_id,
                const QVector<CartItem> &items,
                const QString &submit_time);
// The same on an open connection, so a submit can create the open order and write
// its lines in one transaction.
void write_cart(AppContext &ctx,
                TSQLiteDatabase &db,
                const QString &order_id,
                const QVector<CartItem> &items,
                const QString &submit_time);

// Recomputes the stored totals of the table's open order from its live lines
// (status 0-7): lumo_desk.price and the order's allprice and price. Returns the
// total as "%.2f" ("0.00" when no live line is left).
QString cal_desk_price(AppContext &ctx, const QString &desk_id);
// The same for one open order and its table's copy; nothing without a current
// table, and nothing (empty text) for a settled or missing order.
QString cal_order_price(AppContext &ctx, const QString &order_id);
// Both on an open connection, so a caller's own writes and the recompute are one
// transaction.
QString cal_desk_price(AppContext &ctx, TSQLiteDatabase &db, const QString &desk_id);
QString cal_order_price(AppContext &ctx, TSQLiteDatabase &db, const QString &order_id);

// Recomputes one open order's stored totals and, when the table shows that order,
// the table's copy; a settled or missing order is left alone (empty text). Unlike
// cal_order_price it does not look at the board's selection: a dialog that holds
// the order recomputes it even after the board's selection moved on.
QString recompute_order_total(TSQLiteDatabase &db, const QString &order_id);

enum class LineOp { Return, Ordered, Served, Delete };

// Changes the status of the lines (or deletes them) and recomputes the totals of
// their orders, in one transaction. ids: line ids joined with ",".
// A paid bill keeps its lines: when one of them belongs to a settled order nothing
// is changed and the result is false (LinesSettledText).
bool batch_lines(AppContext &ctx, LineOp op, const QString &ids);

// Whether one of the lines (ids joined with ",") belongs to a settled order.
bool lines_of_settled_order(TSQLiteDatabase &db, const QString &ids);

inline const QString LinesSettledText = QStringLiteral("订单已结算，菜品不能再修改");
