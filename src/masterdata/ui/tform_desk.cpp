#include "masterdata/ui/tform_desk.h"

#include "app/notifier.h"
#include "app/ui/box_prompts.h"
#include "masterdata/desk_rules.h"
#include "masterdata/ui/choice_box.h"
#include "masterdata/ui/tform_desk_class.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

ListScreenConfig desk_config()
{
    ListScreenConfig c;
    c.object_name = QStringLiteral("TForm_desk");
    c.caption = QStringLiteral("桌位管理");
    c.size = QSize(1000, 600);
    c.columns = {ListColumn::text(QStringLiteral("行号"), 50, "#"),
                 ListColumn::text(QStringLiteral("桌位名称"), 0, "title"),
                 ListColumn::text(QStringLiteral("编号"), 100, "bh"),
                 ListColumn::text(QStringLiteral("排序号"), 100, "sort"),
                 ListColumn::text(QStringLiteral("所属分类"), 100, "cname"),
                 ListColumn::icon(QStringLiteral("编辑"), ListColumn::EditIcon),
                 ListColumn::icon(QStringLiteral("删除"), ListColumn::DeleteIcon)};
    c.query = desk_list_query();
    c.first_panel = QStringLiteral("新增桌位");
    c.first_button = QStringLiteral("新增桌位保存");
    c.add_panel = QStringLiteral("添加桌位");
    c.add_button = QStringLiteral("新增桌位保存");
    c.edit_panel = QStringLiteral("编辑桌位");
    c.edit_button = QStringLiteral("编辑桌位保存");
    c.line_colour = QColor(242, 242, 242);
    return c;
}

} // namespace

TForm_desk::TForm_desk(Forms &forms, QWidget *parent)
    : ListScreen(forms, parent, desk_config())
{
    m_name = add_field(QStringLiteral("桌位名称："), QStringLiteral("LabeledEdit2"), 40);
    m_bh = add_field(QStringLiteral("桌位编号："), QStringLiteral("LabeledEdit3"), 90);
    m_sort = add_field(QStringLiteral("排序号码："), QStringLiteral("LabeledEdit4"), 140);
    m_sort->setText(QStringLiteral("0"));

    auto *label = new QLabel(QStringLiteral("所属分类："), editor());
    label->setGeometry(10, 190, 80, 30);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_area = new ChoiceBox(editor());
    m_area->setObjectName(QStringLiteral("ComboBox1"));
    m_area->setGeometry(94, 190, 180, 30);

    QPushButton *areas = flat_button(
        editor(), QStringLiteral("桌位分类设置"), QStringLiteral("CnButton2"), {127, 184, 135});
    areas->setGeometry(10, 250, 266, 36);
    connect(areas, &QPushButton::clicked, this, [this] { m_forms.desk_class->open_centred(); });
    // The area choices follow the areas; the list follows tables saved anywhere.
    connect(&ctx().notifier(), &ChangeNotifier::areas_changed, this, [this] {
        guarded(ctx(), [&] {
            load_desk_class();
            getlist();
        });
    });
}

void TForm_desk::show_step()
{
    load_desk_class();
    getlist();
}

void TForm_desk::load_desk_class()
{
    const QString chosen = m_area->chosen_id();
    m_area->load(read_choices(ctx(), QStringLiteral("lumo_desk_class")));
    if (!chosen.isEmpty())
        m_area->choose(chosen);
}

void TForm_desk::choose_combox(const QString &area_id)
{
    m_area->choose(area_id);
}

void TForm_desk::set_edit(int isedit, const QString &id)
{
    if (isedit != 1) {
        // The sort number and the area stay for the next table.
        m_name->clear();
        m_bh->clear();
        return;
    }
    const DeskEdit d = read_desk_edit(ctx(), id);
    if (!d.found) {
        toast(RecordGoneText);
        return;
    }
    m_name->setText(d.title);
    m_bh->setText(d.bh);
    m_sort->setText(d.sort);
    choose_combox(d.cid);
}

void TForm_desk::save()
{
    const SaveOutcome r = save_desk(ctx(),
                                    {edit_id(),
                                     m_name->text(),
                                     m_bh->text(),
                                     m_area->chosen_id(),
                                     m_area->currentText().trimmed(),
                                     m_sort->text()});
    toast(r.message);
    if (!r.saved)
        return;
    getlist();
}

void TForm_desk::mydel(const QString &id)
{
    const QString refusal = delete_desk(ctx(), id);
    if (!refusal.isEmpty()) {
        toast(refusal);
        return;
    }
    getlist();
}
