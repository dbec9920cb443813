#include "masterdata/ui/class_screen.h"

#include <QLineEdit>

namespace {

ListScreenConfig class_config(ClassKind kind)
{
    const bool area = kind == ClassKind::DeskArea;
    ListScreenConfig c;
    c.object_name = area ? QStringLiteral("TForm_desk_class") : QStringLiteral("TForm_cp_class");
    c.caption = area ? QStringLiteral("桌号分类") : QStringLiteral("菜品分类");
    c.size = QSize(900, 600);
    c.columns = {ListColumn::text(area ? QStringLiteral("行号") : QStringLiteral("编号"), 50, "#"),
                 ListColumn::text(QStringLiteral("分类名称"), 0, "title"),
                 ListColumn::text(QStringLiteral("排序号"), 140, "sort"),
                 ListColumn::icon(QStringLiteral("编辑"), ListColumn::EditIcon),
                 ListColumn::icon(QStringLiteral("删除"), ListColumn::DeleteIcon)};
    if (!area)
        c.columns.last().align = Qt::AlignLeft;
    c.page_size = 15;
    c.query = class_list_query(kind);
    const QString noun = area ? QStringLiteral("桌位分类") : QStringLiteral("菜品分类");
    c.first_panel = area ? QStringLiteral("新增桌号分类") : QStringLiteral("新增菜品分类");
    c.first_button = QStringLiteral("新增") + noun + QStringLiteral("保存");
    c.add_panel = QStringLiteral("添加") + noun;
    c.add_button = c.first_button;
    c.edit_panel = QStringLiteral("编辑") + noun;
    c.edit_button = QStringLiteral("编辑") + noun + QStringLiteral("保存");
    return c;
}

} // namespace

ClassScreen::ClassScreen(Forms &forms, QWidget *parent, ClassKind kind)
    : ListScreen(forms, parent, class_config(kind))
    , m_kind(kind)
{
    m_name = add_field(QStringLiteral("分类名称："), QStringLiteral("LabeledEdit2"), 40);
    m_sort = add_field(QStringLiteral("排序编号："), QStringLiteral("LabeledEdit3"), 90);
}

void ClassScreen::set_edit(int isedit, const QString &id)
{
    if (isedit != 1) {
        m_name->clear();
        m_sort->clear();
        return;
    }
    const ClassRecord r = read_class(ctx(), m_kind, id);
    if (!r.found) {
        toast(RecordGoneText);
        return;
    }
    m_name->setText(r.title);
    m_sort->setText(r.sort);
}

void ClassScreen::save()
{
    const SaveOutcome r = save_class(ctx(), m_kind, edit_id(), m_name->text(), m_sort->text());
    toast(r.message);
    if (!r.saved)
        return;
    getlist();
}

void ClassScreen::mydel(const QString &id)
{
    const QString refusal = delete_class(ctx(), m_kind, id);
    if (!refusal.isEmpty()) {
        toast(refusal);
        return;
    }
    getlist();
}
