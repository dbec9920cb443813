#include "ordering/ui/tform_caipin_zuofa.h"

#include "app/helpers.h"
#include "app/input_checks.h"
#include "app/ui/box_prompts.h"
#include "ordering/diancan.h"
#include "ordering/dish_grid.h"
#include "ordering/ui/tform_diancan.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QToolButton>

TForm_caipin_zuofa::TForm_caipin_zuofa(Forms &forms, QWidget *parent)
    : DeskDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("数量、做法与备注"));
    setObjectName(QStringLiteral("TForm_caipin_zuofa"));
    resize(480, 500);

    m_dish_label = new QLabel(QStringLiteral("菜品名称：------"), this);
    m_dish_label->setObjectName(QStringLiteral("label_caipin"));
    m_dish_label->setGeometry(10, 10, 300, 24);
    m_desk_label = new QLabel(QStringLiteral("桌号："), this);
    m_desk_label->setObjectName(QStringLiteral("label_bh"));
    m_desk_label->setGeometry(320, 10, 150, 24);

    auto *qtyLabel = new QLabel(QStringLiteral("数量："), this);
    qtyLabel->setGeometry(10, 50, 50, 28);
    m_minus = new QToolButton(this);
    m_minus->setObjectName(QStringLiteral("image_minus"));
    m_minus->setText(QStringLiteral("－"));
    m_minus->setGeometry(60, 50, 30, 28);
    m_minus->setCursor(Qt::PointingHandCursor);
    connect(m_minus, &QToolButton::clicked, this, &TForm_caipin_zuofa::minus_click);
    m_quantity = new QLineEdit(QStringLiteral("1"), this);
    m_quantity->setObjectName(QStringLiteral("edit_quantity"));
    m_quantity->setAlignment(Qt::AlignCenter);
    m_quantity->setGeometry(95, 50, 60, 28);
    // No validator: it would drop a typed "." and turn "1.5" into 15 portions.
    // Saving refuses what is not a whole number of portions.
    m_plus = new QToolButton(this);
    m_plus->setObjectName(QStringLiteral("image_plus"));
    m_plus->setText(QStringLiteral("＋"));
    m_plus->setGeometry(160, 50, 30, 28);
    m_plus->setCursor(Qt::PointingHandCursor);
    connect(m_plus, &QToolButton::clicked, this, &TForm_caipin_zuofa::plus_click);

    m_group = new QGroupBox(QStringLiteral("菜品做法"), this);
    m_group->setObjectName(QStringLiteral("group_zuofa"));
    m_group->setGeometry(10, 90, 460, 300);

    auto *remarkLabel = new QLabel(QStringLiteral("备注："), this);
    remarkLabel->setGeometry(10, 400, 50, 28);
    m_remark = new QLineEdit(this);
    m_remark->setObjectName(QStringLiteral("edit_remark"));
    m_remark->setGeometry(60, 400, 410, 28);

    m_save = new QPushButton(QStringLiteral("确定设置"), this);
    m_save->setObjectName(QStringLiteral("btn_save"));
    m_save->setGeometry(10, 445, 460, 40);
    connect(m_save, &QPushButton::clicked, this, &TForm_caipin_zuofa::save_click);
    m_save->setDefault(true);
}

void TForm_caipin_zuofa::open_with(const QString &desk_id, const QString &order_id)
{
    hold(desk_id, order_id);
    m_dish_id = m_forms.diancan ? m_forms.diancan->current_dish() : QString();
    // An already visible dialog gets no new showing, so it loads here.
    if (isVisible())
        load();
    open_centred();
}

void TForm_caipin_zuofa::showEvent(QShowEvent *event)
{
    DeskDialog::showEvent(event);
    if (!event->spontaneous())
        load();
}

void TForm_caipin_zuofa::load()
{
    if (m_dish_id.isEmpty())
        return;
    const TileRecord *dish = m_forms.diancan ? m_forms.diancan->dish(m_dish_id) : nullptr;
    if (!dish) {
        // The dish's tile was rebuilt away; there is nothing left to set.
        m_dish_id.clear();
        return;
    }
    guarded(ctx(), [&] {
        m_desk_label->setText(QStringLiteral("桌号：")
                              + (m_desk_id.isEmpty() ? QString() : read_desk_bh(ctx(), m_desk_id)));
        m_dish_label->setText(QStringLiteral("菜品名称：") + read_dish_title(ctx(), m_dish_id));
        const TileRecord &rec = *dish;
        m_quantity->setText(rec.quantity);

        delete m_group;
        m_boxes.clear();
        m_group = new QGroupBox(QStringLiteral("菜品做法"), this);
        m_group->setObjectName(QStringLiteral("group_zuofa"));
        m_group->setGeometry(10, 90, 460, 300);
        // A dish with many methods scrolls inside the group.
        m_scroll = new QScrollArea(m_group);
        m_scroll->setObjectName(QStringLiteral("scroll_zuofa"));
        m_scroll->setFrameShape(QFrame::NoFrame);
        m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_scroll->setGeometry(1, 18, 458, 280);
        auto *list = new QWidget;
        list->setObjectName(QStringLiteral("list_zuofa"));
        const QVector<MethodRow> methods = read_methods(ctx(), m_dish_id);
        list->resize(440, 7 + 25 * int(methods.size()) + 4);
        for (int n = 0; n < methods.size(); ++n) {
            auto *box = new QCheckBox(methods[n].title, list);
            box->setObjectName(QStringLiteral("check_zuofa_") + methods[n].id);
            box->setProperty("value", methods[n].id);
            box->setGeometry(10, 7 + 25 * n, qMin(420, box->sizeHint().width()), 22);
            box->setCursor(Qt::PointingHandCursor);
            box->setChecked(method_chosen(rec.zfid, methods[n].id));
            m_boxes << box;
        }
        m_scroll->setWidget(list);
        m_group->show();
        m_remark->setText(rec.remark);
    });
}

void TForm_caipin_zuofa::save_click()
{
    if (m_dish_id.isEmpty() || !m_forms.diancan || !m_forms.diancan->dish(m_dish_id)) {
        toast(QStringLiteral("请选择一个菜品设置"));
        return;
    }
    QVector<MethodChoice> choices;
    for (const QCheckBox *box : std::as_const(m_boxes))
        choices.append({box->property("value").toString(), box->text(), box->isChecked()});
    const ChosenMethods chosen = chosen_methods(choices);
    const CheckedNumber checked = check_quantity(m_quantity->text());
    if (!checked.ok()) {
        m_quantity->setFocus();
        m_quantity->selectAll();
        toast(checked.refusal);
        return;
    }
    const QString quantity = QString::number(checked.whole());
    m_quantity->setText(quantity);
    m_forms.diancan->apply_choices(
        m_dish_id, quantity, chosen.ids, chosen.titles, strip_quotes(m_remark->text()));
    hide();
}

void TForm_caipin_zuofa::plus_click()
{
    const qint64 q = clean_tile_quantity(m_quantity->text()).toLongLong();
    m_quantity->setText(QString::number(q < MaxQuantity ? q + 1 : MaxQuantity));
}

void TForm_caipin_zuofa::minus_click()
{
    const qint64 q = clean_tile_quantity(m_quantity->text()).toLongLong();
    m_quantity->setText(QString::number(q > 1 ? q - 1 : 1));
}
