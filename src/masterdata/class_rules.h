#pragma once

#include "app/context.h"
#include "masterdata/list_page.h"

#include <QString>

// Table areas (lumo_desk_class) and dish categories (lumo_caipin_class): the same
// small record, a name and a sort number.

enum class ClassKind { DeskArea, DishCategory };

// The table the kind lives in.
QString class_table(ClassKind kind);
ListQuery class_list_query(ClassKind kind);

struct ClassRecord
{
    bool found = false;
    QString title;
    QString sort;
};
ClassRecord read_class(const AppContext &ctx, ClassKind kind, const QString &id);

// What a save did: the toast to show and whether a row was written.
struct SaveOutcome
{
    bool saved = false;
    QString message;
    QString id; // the record written
};

// Adds (empty edit id) or updates an area or category. Refusals: "请输入分类名称",
// "排序号只能是数字"; an edited record deleted meanwhile: RecordGoneText.
SaveOutcome save_class(AppContext &ctx,
                       ClassKind kind,
                       const QString &edit_id,
                       const QString &name,
                       const QString &sort);

// Deletes an area or category; returns the refusal to show, empty when deleted
// (or already gone). An area's tables keep their area id and name, a category's
// dishes their category id.
QString delete_class(AppContext &ctx, ClassKind kind, const QString &id);
