#pragma once

#include "app/context.h"
#include "app/helpers.h"
#include "ordering/orders.h"

#include <QString>
#include <QVector>

// What the ordering screen reads and writes: the menu, the categories, the open
// order's lines, a dish's cooking methods, and the submit of the chosen dishes.

struct DishRow
{
    QString id;
    QString title;
    QString titleen;
    QString price;
    QString cid;
    QString stock;
    QString zfid;
};
// Every dish, by id.
QVector<DishRow> read_dishes(const AppContext &ctx);

struct CategoryRow
{
    QString id;
    QString title;
};
// Dish categories in their sort order.
QVector<CategoryRow> read_categories(const AppContext &ctx);

// One row of the ordering screen's line list, as shown.
struct OrderLineView
{
    QString number; // "01".."09", "10", ...
    QString id;
    QString title;
    QString zfidstr;
    QString oneprice; // "%.2f"
    QString quantity;
    QString amount; // quantity x unit price, "%.2f"
    QString stat;   // display name
    QString remark;
    bool returned = false;
};
// The lines of the table's open order by id; none without a table or an open order.
QVector<OrderLineView> read_order_lines(const AppContext &ctx, const QString &desk_id);

struct MethodRow
{
    QString id;
    QString title;
};
// The dish's cooking methods in the order they are stored.
QVector<MethodRow> read_methods(const AppContext &ctx, const QString &dish_id);
// The dish's title; empty when the dish is gone.
QString read_dish_title(const AppContext &ctx, const QString &dish_id);
// The table's number (bh); empty when there is no such table.
QString read_desk_bh(const AppContext &ctx, const QString &desk_id);

// Submitting the chosen dishes into the current table's open order.
struct SubmitResult
{
    enum Kind {
        Done,
        DeskNotOpen,     // the table is neither open nor reserved: "此桌位状态不能点单"
        NothingSelected, // "请选择至少一个菜品"
        Cancelled,       // the waiter said Cancel to the confirmation
        OrderSettled,    // settled elsewhere while the confirmation was up: OrderSettledText
        SignedOut,       // nobody is signed in: SignInFirstText
    };
    Kind kind = Done;
    QString order_id; // the open order (also after NothingSelected and Cancelled)
    QString total;    // the table's stored total after Done, "%.2f"
};

inline const QString DeskNotOpenText = QStringLiteral("此桌位状态不能点单");
inline const QString NothingSelectedText = QStringLiteral("请选择至少一个菜品");
inline const QString ConfirmSubmitText = QStringLiteral("确认要批量添加菜品吗");
inline const QString OrderSettledText
    = QStringLiteral("此桌位的订单已在别处结算，菜品未落单，请核对后重新点单");

// Checks the current table's status, makes sure it has an open order, asks for
// confirmation (ctx.prompts()) and writes the items with one submit time.
SubmitResult submit_cart(AppContext &ctx, const QVector<CartItem> &items);
// The same for the given table, whatever the board has selected since.
SubmitResult submit_cart(AppContext &ctx, const QString &desk_id, const QVector<CartItem> &items);

// Dishes are ordered only for a table that is open (1) or reserved (3).
bool desk_takes_orders(const QString &stat);

// The confirmation and success texts of the ordering screen's batch buttons.
struct BatchTexts
{
    QString confirm;
    QString done;
};
BatchTexts batch_texts(LineOp op);
inline const QString NoLineCheckedText = QStringLiteral("请至少选中一项操作");
