#include "board/ui/tform_desk_zt.h"

#include "app/helpers.h"
#include "app/notifier.h"
#include "app/ui/box_prompts.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

namespace {

constexpr int LabelLeft = 24;
constexpr int LabelWidth = 86;
constexpr int EditLeft = 116;
constexpr int EditWidth = 220;
constexpr int RowHeight = 26;

// What the dialog shows of a row, as one text to compare.
QString shown_fields(const DeskRow &r)
{
    return QStringList{r.found ? QStringLiteral("1") : QString(),
                       r.bh,
                       r.stat,
                       r.ydtruename,
                       r.yj,
                       r.nums,
                       r.fwy,
                       r.addtime}
        .join(QChar(0x1f));
}

QLabel *caption(QWidget *parent, const QString &text, int top)
{
    auto *l = new QLabel(text, parent);
    l->setGeometry(LabelLeft, top, LabelWidth, RowHeight);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

QLineEdit *edit(QWidget *parent, const QString &name, int top)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setGeometry(EditLeft, top, EditWidth, RowHeight);
    return e;
}

} // namespace

TForm_desk_zt::TForm_desk_zt(Forms &forms, QWidget *parent)
    : DeskDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("桌位状态"));
    setObjectName(QStringLiteral("TForm_desk_zt"));
    setFixedSize(370, 388);

    caption(this, QStringLiteral("桌位编号："), 20);
    m_bh = new QLabel(this);
    m_bh->setObjectName(QStringLiteral("Label_bh"));
    m_bh->setGeometry(EditLeft, 20, EditWidth, RowHeight);
    QFont bold = m_bh->font();
    bold.setBold(true);
    m_bh->setFont(bold);

    caption(this, QStringLiteral("预订姓名："), 56);
    m_ydtruename = edit(this, QStringLiteral("Edit_ydtruename"), 56);
    caption(this, QStringLiteral("开台押金："), 92);
    m_yj = edit(this, QStringLiteral("Edit_yj"), 92);
    caption(this, QStringLiteral("用餐人数："), 128);
    m_nums = edit(this, QStringLiteral("Edit_nums"), 128);
    m_nums->setText(QStringLiteral("0"));
    caption(this, QStringLiteral("服务人员："), 164);
    m_fwy = edit(this, QStringLiteral("Edit_fwy"), 164);
    caption(this, QStringLiteral("开台时间："), 200);
    m_addtime = edit(this, QStringLiteral("Edit_addtime"), 200);
    m_addtime->setReadOnly(true);

    auto *group = new QGroupBox(QStringLiteral("桌位状态"), this);
    group->setObjectName(QStringLiteral("GroupBox_stat"));
    group->setGeometry(LabelLeft, 240, EditLeft + EditWidth - LabelLeft, 62);
    const auto radio = [group](const QString &text, const QString &name, int left) {
        auto *r = new QRadioButton(text, group);
        r->setObjectName(name);
        r->setGeometry(left, 26, 80, 24);
        return r;
    };
    m_free = radio(QStringLiteral("空闲"), QStringLiteral("Radio_stat_0"), 24);
    m_open = radio(QStringLiteral("开台"), QStringLiteral("Radio_stat_1"), 124);
    m_reserve = radio(QStringLiteral("预定"), QStringLiteral("Radio_stat_3"), 224);
    m_free->setChecked(true);

    m_save = new QPushButton(QStringLiteral("确认保存"), this);
    m_save->setObjectName(QStringLiteral("Button_save"));
    m_save->setGeometry((width() - 120) / 2, 322, 120, 36);
    connect(m_save, &QPushButton::clicked, this, &TForm_desk_zt::save_click);

    ChangeNotifier &n = ctx().notifier();
    connect(&n, &ChangeNotifier::desk_changed, this, &TForm_desk_zt::follow_desk_change);
    connect(&n, &ChangeNotifier::desk_transferred, this, &TForm_desk_zt::follow_desk_transfer);
}

void TForm_desk_zt::open_with(const QString &desk_id, const QString &order_id)
{
    hold(desk_id, order_id);
    // A visible dialog gets no new showing; another table must still replace what it shows.
    if (isVisible())
        load_desk_info();
    open_centred();
    // Typing starts in the first field at every opening, not where the last one ended.
    m_ydtruename->setFocus(Qt::OtherFocusReason);
}

void TForm_desk_zt::showEvent(QShowEvent *event)
{
    DeskDialog::showEvent(event);
    // Restoring a minimised dialog keeps what the user has typed.
    if (!event->spontaneous())
        load_desk_info();
}

void TForm_desk_zt::load_desk_info()
{
    DeskRow row;
    guarded(ctx(), [&] { row = read_desk_row(ctx(), m_desk_id); });
    show_row(row);
}

void TForm_desk_zt::follow_desk_change(const QString &desk_id)
{
    if (!isVisible() || desk_id.isEmpty() || desk_id != m_desk_id)
        return;
    DeskRow row;
    if (guarded(ctx(), [&] { row = read_desk_row(ctx(), m_desk_id); })
        && shown_fields(row) != m_shown)
        show_row(row);
}

void TForm_desk_zt::follow_desk_transfer(const QString &from_id, const QString &to_id)
{
    if (from_id.isEmpty() || from_id != m_desk_id)
        return;
    hold(to_id, m_order_id);
    if (isVisible())
        load_desk_info();
}

void TForm_desk_zt::show_row(const DeskRow &row)
{
    m_shown = shown_fields(row);
    m_shown_stat = row.found ? desk_stat_code(row.stat) : QString();
    if (!row.found) {
        m_bh->clear();
        m_ydtruename->clear();
        m_yj->clear();
        m_nums->clear();
        m_fwy->clear();
        m_addtime->clear();
        return;
    }
    m_bh->setText(row.bh);
    m_ydtruename->setText(row.ydtruename);
    m_yj->setText(row.yj);
    m_nums->setText(row.nums);
    m_fwy->setText(row.fwy);
    m_addtime->setText(format_time(row.addtime));
    const QString stat = desk_stat_code(row.stat);
    // Cleaning, cleared and unknown states leave the buttons as they were.
    if (stat == QLatin1String("1"))
        m_open->setChecked(true);
    else if (stat == QLatin1String("3"))
        m_reserve->setChecked(true);
    else if (stat == QLatin1String("0"))
        m_free->setChecked(true);
}

int TForm_desk_zt::chosen_stat() const
{
    if (m_open->isChecked())
        return 1;
    if (m_reserve->isChecked())
        return 3;
    return 0;
}

void TForm_desk_zt::save_click()
{
    DeskStateForm form;
    form.stat = chosen_stat();
    form.ydtruename = m_ydtruename->text();
    form.yj = m_yj->text();
    form.nums = m_nums->text();
    form.fwy = m_fwy->text();

    DeskStateResult result;
    if (!guarded(ctx(), [&] { result = save_desk_state(ctx(), m_desk_id, form, m_shown_stat); }))
        return;
    if (!result.message.isEmpty())
        toast(result.message);
    // The board and this dialog follow the notifier, also when another counter's change
    // refused the save.
    if (result.saved && !result.order_id.isEmpty())
        m_order_id = result.order_id;
}
