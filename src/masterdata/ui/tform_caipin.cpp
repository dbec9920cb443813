#include "masterdata/ui/tform_caipin.h"

#include "app/helpers.h"
#include "app/notifier.h"
#include "app/ui/box_prompts.h"
#include "masterdata/ui/choice_box.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>

namespace {

constexpr int SaveHeight = 40;
constexpr int DiscountTop = 230;
const QColor NoDiscountText(166, 202, 240);

ListColumn time_column()
{
    ListColumn c = ListColumn::made(QStringLiteral("添加时间"), 120, [](const ListPage &p, int r) {
        return format_time(p.cell(r, "addtime"));
    });
    c.fits = QStringLiteral("0000-00-00 00:00");
    return c;
}

ListScreenConfig caipin_config()
{
    ListScreenConfig c;
    c.object_name = QStringLiteral("TForm_caipin");
    c.caption = QStringLiteral("菜品管理");
    c.size = QSize(1200, 760);
    c.panel_name = QStringLiteral("box_edit");
    c.columns = {ListColumn::text(QStringLiteral("编号"), 50, "#"),
                 ListColumn::text(QStringLiteral("菜品名称"), 0, "title"),
                 ListColumn::made(
                     QStringLiteral("菜品价格"),
                     80,
                     [](const ListPage &p, int r) { return format_num(p.cell(r, "price"), 2); }),
                 ListColumn::text(QStringLiteral("所属分类"), 80, "cname"),
                 ListColumn::text(QStringLiteral("每日库存"), 60, "stock"),
                 time_column(),
                 ListColumn::made(QStringLiteral("打折"),
                                  60,
                                  [](const ListPage &p, int r) {
                                      return p.cell(r, "iszk") == QLatin1String("1")
                                                 ? QStringLiteral("打折")
                                                 : QStringLiteral("不打折");
                                  }),
                 ListColumn::icon(QStringLiteral("编辑"), ListColumn::EditIcon),
                 ListColumn::icon(QStringLiteral("删除"), ListColumn::DeleteIcon)};
    c.columns.last().align = Qt::AlignLeft;
    c.page_size = 20;
    c.query = dish_list_query();
    c.first_panel = QStringLiteral("菜品添加");
    c.first_button = QStringLiteral("新增菜品保存");
    c.add_panel = QStringLiteral("添加菜品");
    c.add_button = QStringLiteral("新增菜品保存");
    c.edit_panel = QStringLiteral("编辑菜品");
    c.edit_button = QStringLiteral("编辑菜品保存");
    c.row_font_size = 10;
    return c;
}

} // namespace

TForm_caipin::TForm_caipin(Forms &forms, QWidget *parent)
    : ListScreen(forms, parent, caipin_config())
{
    // The save button sits below the panel.
    QGroupBox *panel = editor();
    panel->resize(panel->width(), panel->height() - SaveHeight - 8);
    QPushButton *save = save_button();
    save->setParent(this);
    save->setGeometry(panel->x() + 2, panel->geometry().bottom() + 8, 282, SaveHeight);
    save->show();

    m_name = add_field(QStringLiteral("菜品名称："), QStringLiteral("LabeledEdit4"), 30);
    m_name->setPlaceholderText(QStringLiteral("建议不大于10个汉字"));
    m_price = add_field(QStringLiteral("销售价格："), QStringLiteral("LabeledEdit2"), 70);
    m_price->setText(QStringLiteral("0"));

    auto *clabel = new QLabel(QStringLiteral("所属分类："), panel);
    clabel->setGeometry(10, 110, 80, 30);
    clabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_category = new ChoiceBox(panel);
    m_category->setObjectName(QStringLiteral("ComboBox1"));
    m_category->setGeometry(94, 110, 180, 30);

    m_stock = add_field(QStringLiteral("每日库存："), QStringLiteral("LabeledEdit3"), 150);
    m_stock->setText(QStringLiteral("0"));
    m_sort = add_field(QStringLiteral("排序编号："), QStringLiteral("LabeledEdit5"), 190);
    m_sort->setText(QStringLiteral("0"));

    auto *dlabel = new QLabel(QStringLiteral("是否打折："), panel);
    dlabel->setObjectName(QStringLiteral("label_discount"));
    dlabel->setGeometry(10, DiscountTop, 80, 30);
    dlabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_discount = new QCheckBox(QStringLiteral("参与打折"), panel);
    m_discount->setObjectName(QStringLiteral("CheckBox1"));
    m_discount->setGeometry(94, DiscountTop, 86, 30);
    m_discount->setChecked(true);

    QPushButton *add = flat_button(
        panel, QStringLiteral("新增菜品做法"), QStringLiteral("CnButton2"), {135, 184, 127});
    add->setGeometry(180, DiscountTop + 2, 96, 26);
    connect(add, &QPushButton::clicked, this, [this] { add_method_rows({{}}); });

    set_group();
    // The category choices follow the categories.
    connect(&ctx().notifier(), &ChangeNotifier::dishes_changed, this, [this] {
        guarded(ctx(), [&] { load_caipin_class(); });
    });
}

void TForm_caipin::show_step()
{
    load_caipin_class();
    getlist();
    set_group();
    // A save stores exactly the rows shown, so a dish still being edited shows
    // its stored methods again rather than an empty box that would delete them.
    if (editing())
        add_method_rows(read_dish_methods(ctx(), edit_id()));
}

void TForm_caipin::load_caipin_class()
{
    const QString chosen = m_category->chosen_id();
    m_category->load(read_choices(ctx(), QStringLiteral("lumo_caipin_class")));
    if (!chosen.isEmpty())
        m_category->choose(chosen);
}

void TForm_caipin::choose_combox(const QString &category_id)
{
    m_category->choose(category_id);
}

void TForm_caipin::set_group()
{
    delete m_methods;
    m_rows.clear();
    m_next_serial = 1;
    QGroupBox *panel = editor();
    const int top = DiscountTop + 30 + 10;
    m_methods = new QGroupBox(QStringLiteral("菜品做法设置"), panel);
    m_methods->setObjectName(QStringLiteral("box_zuofa"));
    QFont f = m_methods->font();
    f.setPointSize(10);
    m_methods->setFont(f);
    m_methods->setGeometry(0, top, 286, panel->height() - 10 - top);
    m_method_scroll = new QScrollArea(m_methods);
    m_method_scroll->setFrameShape(QFrame::NoFrame);
    m_method_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_method_scroll->setGeometry(2, 20, 282, m_methods->height() - 22);
    m_method_rows = new QWidget;
    m_method_rows->resize(264, 10);
    m_method_scroll->setWidget(m_method_rows);
    m_methods->lower();
    m_methods->show();
}

void TForm_caipin::add_method_rows(const QVector<MethodEntry> &methods)
{
    if (m_rows.size() >= MaxMethods) {
        toast(MethodLimitText);
        return;
    }
    QFont small = font();
    small.setPointSize(8);
    for (const MethodEntry &m : methods) {
        const int n = m_next_serial++;
        MethodRow row;
        row.serial = n;
        row.row_id = m.row_id;
        row.edit = new QLineEdit(m.title, m_method_rows);
        row.edit->setObjectName(QStringLiteral("zf_labelededit_%1").arg(n));
        row.edit->setFont(small);
        row.edit->setProperty("serial", n);
        row.label = new QLabel(m_method_rows);
        row.label->setObjectName(QStringLiteral("zf_label_%1").arg(n));
        row.label->setProperty("rowid", m.row_id);
        auto *remove = new QPushButton(QStringLiteral("删除"), m_method_rows);
        remove->setObjectName(QStringLiteral("zf_button_%1").arg(n));
        remove->setAutoDefault(false);
        remove->setProperty("serial", n);
        connect(remove, &QPushButton::clicked, this, [this, n] { remove_method_row(n); });
        row.button = remove;
        row.edit->show();
        row.label->show();
        remove->show();
        m_rows << row;
    }
    layout_methods();
}

void TForm_caipin::remove_method_row(int serial)
{
    for (qsizetype i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].serial != serial)
            continue;
        // Deferred: the row's own button is still handling its click. Until then
        // the row is out of sight and out of reach by name.
        for (QWidget *w : {static_cast<QWidget *>(m_rows[i].edit),
                           static_cast<QWidget *>(m_rows[i].label),
                           m_rows[i].button}) {
            w->hide();
            w->setObjectName(QString());
            w->deleteLater();
        }
        m_rows.removeAt(i);
        break;
    }
    layout_methods();
}

void TForm_caipin::layout_methods()
{
    for (int i = 0; i < m_rows.size(); ++i) {
        const MethodRow &r = m_rows[i];
        r.label->setText(method_label(i));
        r.label->setGeometry(10, i * 30 + 25, 38, 24);
        r.edit->setGeometry(50, i * 30 + 25, 170, 24);
        r.button->setGeometry(230, i * 30 + 23, 50, 28);
    }
    m_method_rows->resize(282, int(m_rows.size()) * 30 + 30);
}

QVector<MethodEntry> TForm_caipin::method_rows() const
{
    QVector<MethodEntry> out;
    for (const MethodRow &r : m_rows)
        out.append({r.row_id, r.edit->text()});
    return out;
}

void TForm_caipin::set_edit(int isedit, const QString &id)
{
    // Rows typed for one dish never carry over to another.
    set_group();
    if (m_category->count() > 0)
        m_category->setCurrentIndex(0);
    if (isedit != 1) {
        // The sort number stays for the next dish.
        m_name->clear();
        m_price->clear();
        m_stock->clear();
        m_discount->setChecked(true);
        return;
    }
    const DishEdit d = read_dish_edit(ctx(), id);
    if (!d.found) {
        toast(RecordGoneText);
        return;
    }
    m_name->setText(d.title);
    m_price->setText(d.price);
    m_stock->setText(d.stock);
    m_sort->setText(d.sort);
    m_discount->setChecked(d.iszk != QLatin1String("0"));
    choose_combox(d.cid);
    add_method_rows(read_dish_methods(ctx(), id));
}

void TForm_caipin::save()
{
    DishForm form;
    form.edit_id = edit_id();
    form.name = m_name->text();
    form.price = m_price->text();
    form.stock = m_stock->text();
    form.category_id = m_category->chosen_id();
    form.sort = m_sort->text();
    form.discount = m_discount->isChecked();
    form.methods = method_rows();
    const SaveOutcome r = save_dish(ctx(), form);
    toast(r.message);
    if (!r.saved)
        return;
    getlist();
    // With method rows the editor goes on with the saved dish as stored, so the
    // new rows carry their ids and a second save updates instead of adding.
    if (!form.methods.isEmpty())
        seteditstat(1, r.id);
}

void TForm_caipin::mydel(const QString &id)
{
    const QString refusal = delete_dish(ctx(), id);
    if (!refusal.isEmpty())
        toast(refusal);
    getlist();
}

QColor TForm_caipin::row_text_colour(int row) const
{
    return page_rows().cell(row, QStringLiteral("iszk")) == QLatin1String("1") ? QColor(Qt::black)
                                                                               : NoDiscountText;
}
