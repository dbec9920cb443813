#pragma once

#include "app/context.h"
#include "masterdata/class_rules.h"
#include "masterdata/list_page.h"

#include <QString>

// The tables screen's rules: the list, the save checks and the delete refusal.

ListQuery desk_list_query();

struct DeskEdit
{
    bool found = false;
    QString title, bh, sort, cid;
};
DeskEdit read_desk_edit(const AppContext &ctx, const QString &id);

// The editor's texts as typed; area_id is the id behind the chosen area (empty
// when nothing is chosen), area_name the text shown in the area choice.
struct DeskForm
{
    QString edit_id;
    QString name;
    QString bh;
    QString area_id;
    QString area_name;
    QString sort;
};

// Checks in order ("请填写桌位名称", "请填写编号", "分类ID只能是数字", "排序号只能是数字"),
// then adds ("餐桌编号已存在" when the number is taken) or updates the table.
SaveOutcome save_desk(AppContext &ctx, const DeskForm &form);

// Deletes a table unless it still has an open order or unsettled lines
// ("此桌号还有未结账的订单，请结完账后再删除"); empty when deleted.
QString delete_desk(AppContext &ctx, const QString &id);
