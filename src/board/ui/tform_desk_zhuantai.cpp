#include "board/ui/tform_desk_zhuantai.h"

#include "app/helpers.h"
#include "app/notifier.h"
#include "app/ui/box_prompts.h"
#include "board/desk_state.h"
#include "board/transfer.h"
#include "board/ui/tform_main.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QShowEvent>

namespace {

constexpr int PerRow = 5;
constexpr int DialogWidth = 850; // five 150-pixel buttons 160 apart, with margins
constexpr int MinHeight = 360;
constexpr int ListTop = 18; // below the group's title
const char *DeskIdProperty = "desk_id";

} // namespace

TForm_desk_zhuantai::TForm_desk_zhuantai(Forms &forms, QWidget *parent)
    : DeskDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("餐桌转台"));
    setObjectName(QStringLiteral("TForm_desk_zhuantai"));

    m_group = new QGroupBox(QStringLiteral("关联桌号"), this);
    m_group->setObjectName(QStringLiteral("GroupBox_gldesk"));
    // Many tables scroll inside the group, so the dialog and its button stay on screen.
    m_scroll = new QScrollArea(m_group);
    m_scroll->setObjectName(QStringLiteral("zhuantai_scroll"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setWidgetResizable(false);
    m_list = new QWidget;
    m_list->setObjectName(QStringLiteral("zhuantai_list"));
    m_scroll->setWidget(m_list);
    m_button = new QPushButton(QStringLiteral("确认转台"), this);
    m_button->setObjectName(QStringLiteral("Button_zhuantai"));
    connect(m_button, &QPushButton::clicked, this, &TForm_desk_zhuantai::zhuantai_click);
    // The list shows every table's status as it is now.
    connect(&ctx().notifier(),
            &ChangeNotifier::desk_changed,
            this,
            &TForm_desk_zhuantai::follow_desk_change);
    resize(DialogWidth, MinHeight);
}

void TForm_desk_zhuantai::resizeEvent(QResizeEvent *event)
{
    DeskDialog::resizeEvent(event);
    // The group fills the dialog; the button sits in the strip below it.
    m_group->setGeometry(5, 10, width() - 30, height() - 100);
    m_scroll->setGeometry(0, ListTop, m_group->width(), qMax(0, m_group->height() - ListTop - 2));
    m_button->setGeometry((width() - 140) / 2, height() - 70, 140, 36);
}

void TForm_desk_zhuantai::open_with(const QString &desk_id, const QString &order_id)
{
    hold(desk_id, order_id);
    if (isVisible())
        load_desk_list();
    open_centred();
}

void TForm_desk_zhuantai::showEvent(QShowEvent *event)
{
    DeskDialog::showEvent(event);
    if (!event->spontaneous())
        load_desk_list();
}

void TForm_desk_zhuantai::load_desk_list()
{
    const QList<QRadioButton *> old
        = m_list->findChildren<QRadioButton *>(Qt::FindDirectChildrenOnly);
    qDeleteAll(old);

    QVector<TransferChoice> desks;
    guarded(ctx(), [&] { desks = transfer_choices(ctx()); });
    for (int n = 0; n < desks.size(); ++n) {
        const TransferChoice &d = desks[n];
        auto *r = new QRadioButton(QStringLiteral("桌号：") + d.bh + QStringLiteral(",状态：")
                                       + desk_stat_name(d.stat),
                                   m_list);
        r->setObjectName(QStringLiteral("zhuantai_radio_") + d.id);
        r->setProperty(DeskIdProperty, d.id);
        r->setGeometry(10 + 160 * (n % PerRow), 20 - ListTop + 24 * (n / PerRow), 150, 22);
        // Only a free table can take the guests.
        r->setEnabled(desk_stat_code(d.stat) == QLatin1String("0"));
        r->show();
    }

    const int rows = (int(desks.size()) + PerRow - 1) / PerRow;
    m_list->resize(DialogWidth - 30 - 20, 20 - ListTop + 24 * rows + 8);

    // Grow with the list, keeping the centre, but never past the screen: beyond that
    // the list scrolls and "确认转台" stays in sight.
    int wanted = qMax(MinHeight, 20 + 24 * rows + 16 + 100);
    const QScreen *where = m_forms.main ? m_forms.main->screen() : screen();
    const QRect avail = where ? where->availableGeometry() : QRect();
    // The title bar is known only once the window manager framed the dialog.
    const int extra = frameGeometry().height() - height();
    const int title = extra > 0 ? extra : 40;
    if (avail.isValid())
        wanted = qMin(wanted, avail.height() - title);
    if (wanted != height()) {
        const QPoint centre = geometry().center();
        resize(DialogWidth, wanted);
        move(centre - QPoint(width() / 2, height() / 2));
    }
    // On the screen where it fits; where it does not, its top left corner is.
    const auto fit = [](int at, int first, int last) {
        return qMax(first, qMin(at, last));
    };
    if (avail.isValid())
        move(fit(pos().x(), avail.left(), avail.right() + 1 - frameGeometry().width()),
             fit(pos().y(), avail.top(), avail.bottom() + 1 - height() - title));
}

void TForm_desk_zhuantai::follow_desk_change()
{
    if (!isVisible())
        return;
    const QString chosen = chosen_target();
    load_desk_list();
    auto *r = m_list->findChild<QRadioButton *>(QStringLiteral("zhuantai_radio_") + chosen);
    if (!chosen.isEmpty() && r && r->isEnabled())
        r->setChecked(true);
}

QString TForm_desk_zhuantai::chosen_target() const
{
    for (QRadioButton *r : m_list->findChildren<QRadioButton *>(Qt::FindDirectChildrenOnly)) {
        if (r->isChecked())
            return r->property(DeskIdProperty).toString();
    }
    return {};
}

void TForm_desk_zhuantai::zhuantai_click()
{
    const QString target = chosen_target();
    TransferResult result;
    const QString source = m_desk_id;
    if (!guarded(ctx(), [&] { result = transfer_desk(ctx(), source, target); }))
        return;
    switch (result.outcome) {
    case TransferResult::Cancelled:
        return;
    case TransferResult::Refused:
        toast(result.message);
        // Freed at another counter, the notifier brought the list up to date.
        if (result.message != TransferFreedText)
            follow_desk_change();
        return;
    case TransferResult::Blocked:
        // Taken at another counter: the notifier showed it taken in the list and the board.
        ctx().prompts().information(result.message);
        return;
    case TransferResult::Done:
        break;
    }
    // The guests are at the target now; a further transfer starts from there.
    hold(target, m_order_id);
    load_desk_list();
    ctx().prompts().information(result.message);
}
