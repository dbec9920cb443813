#pragma once

#include "app/context.h"
#include "masterdata/class_rules.h"
#include "masterdata/list_page.h"

#include <QString>
#include <QVector>

// The dishes screen's rules: the list, the save with its cooking methods and the
// delete refusal.

inline constexpr int MaxMethods = 10;
inline const QString MethodLimitText = QStringLiteral("最多只能设置10种做法");

ListQuery dish_list_query();

struct DishEdit
{
    bool found = false;
    QString title, price, stock, sort, cid, iszk;
};
DishEdit read_dish_edit(const AppContext &ctx, const QString &id);

// One row of the cooking-method box: its stored id (empty for a new row) and title.
struct MethodEntry
{
    QString row_id;
    QString title;
};
// The dish's stored methods in row-id order.
QVector<MethodEntry> read_dish_methods(const AppContext &ctx, const QString &dish_id);

// A method title as stored: trimmed, without "'", "," and "@@@" (which the order
// lines use as separators).
QString clean_method_title(const QString &text);
// The label of the i-th method row (from 0): "01：" .. "09：", "10：", ...
QString method_label(int i);

struct DishForm
{
    QString edit_id;
    QString name;
    QString price;
    QString stock;
    QString category_id; // empty: no category
    QString sort;
    bool discount = true;
    QVector<MethodEntry> methods; // the method box's rows in layout order
};

// Checks in order ("请输入菜品名称", "请输入菜品价格", "菜品价格只能是数字", "请输入菜品每日库存",
// "菜品每日库存只能是数字", "排序号只能是数字"), then adds or updates the dish with its
// search code and makes its stored methods what the box holds, all in one
// transaction. The message is "菜品录入成功" or "菜品修改成功" when saved.
SaveOutcome save_dish(AppContext &ctx, const DishForm &form);

// Deletes a dish and its cooking methods unless it has unsettled order lines
// ("此菜品还有未结账的订单，请结完账后再删除"); empty when deleted.
QString delete_dish(AppContext &ctx, const QString &id);
