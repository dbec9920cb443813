#include "board/ui/tform_desk_zhuantai.h"

#include "app/helpers.h"
#include "app/ui/box_prompts.h"
#include "board/desk_state.h"
#include "board/transfer.h"
#include "board/ui/tform_main.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

namespace {

constexpr int PerRow = 5;
constexpr int DialogWidth = 850; // five 150-pixel buttons 160 apart, with margins
constexpr int MinHeight = 360;
const char *DeskIdProperty = "desk_id";

} // namespace

TForm_desk_zhuantai::TForm_desk_zhuantai(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("餐桌转台"));
    setObjectName(QStringLiteral("TForm_desk_zhuantai"));

    m_group = new QGroupBox(QStringLiteral("关联桌号"), this);
    m_group->setObjectName(QStringLiteral("GroupBox_gldesk"));
    m_button = new QPushButton(QStringLiteral("确认转台"), this);
    m_button->setObjectName(QStringLiteral("Button_zhuantai"));
    connect(m_button, &QPushButton::clicked, this, &TForm_desk_zhuantai::zhuantai_click);
    resize(DialogWidth, MinHeight);
}

void TForm_desk_zhuantai::resizeEvent(QResizeEvent *event)
{
    MivoDialog::resizeEvent(event);
    // The group fills the dialog; the button sits in the strip below it.
    m_group->setGeometry(5, 10, width() - 30, height() - 100);
    m_button->setGeometry((width() - 140) / 2, height() - 70, 140, 36);
}

void TForm_desk_zhuantai::showEvent(QShowEvent *event)
{
    MivoDialog::showEvent(event);
    if (!event->spontaneous())
        load_desk_list();
}

void TForm_desk_zhuantai::load_desk_list()
{
    const QList<QRadioButton *> old
        = m_group->findChildren<QRadioButton *>(Qt::FindDirectChildrenOnly);
    qDeleteAll(old);

    QVector<TransferChoice> desks;
    guarded(ctx(), [&] { desks = transfer_choices(ctx()); });
    for (int n = 0; n < desks.size(); ++n) {
        const TransferChoice &d = desks[n];
        auto *r = new QRadioButton(QStringLiteral("桌号：") + d.bh + QStringLiteral(",状态：")
                                       + desk_stat_name(d.stat),
                                   m_group);
        r->setObjectName(QStringLiteral("zhuantai_radio_") + d.id);
        r->setProperty(DeskIdProperty, d.id);
        r->setGeometry(10 + 160 * (n % PerRow), 20 + 24 * (n / PerRow), 150, 22);
        // Only a free table can take the guests.
        r->setEnabled(desk_stat_code(d.stat) == QLatin1String("0"));
        r->show();
    }

    // Grow with the list so every row stays inside the group, keeping the centre.
    const int rows = (int(desks.size()) + PerRow - 1) / PerRow;
    const int wanted = qMax(MinHeight, 20 + 24 * rows + 16 + 100);
    if (wanted != height()) {
        const QPoint centre = geometry().center();
        resize(DialogWidth, wanted);
        move(centre - QPoint(width() / 2, height() / 2));
    }
}

void TForm_desk_zhuantai::zhuantai_click()
{
    QString target;
    for (QRadioButton *r : m_group->findChildren<QRadioButton *>(Qt::FindDirectChildrenOnly)) {
        if (r->isChecked())
            target = r->property(DeskIdProperty).toString();
    }
    TransferResult result;
    if (!guarded(ctx(), [&] { result = transfer_desk(ctx(), target); }))
        return;
    switch (result.outcome) {
    case TransferResult::Cancelled:
        return;
    case TransferResult::Refused:
        toast(result.message);
        return;
    case TransferResult::Blocked:
        ctx().prompts().information(result.message);
        return;
    case TransferResult::Done:
        break;
    }
    TForm_main *main = m_forms.main;
    guarded(ctx(), [&] {
        main->load_desk();
        main->set_desk_vis();
    });
    ctx().prompts().information(result.message);
}
