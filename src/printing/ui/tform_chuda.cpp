#include "printing/ui/tform_chuda.h"

#include "app/helpers.h"
#include "app/notifier.h"
#include "app/ui/box_prompts.h"
#include "ordering/orders.h"
#include "printing/order_prints.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QRadioButton>

TForm_chuda::TForm_chuda(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("厨打选择"));
    setObjectName(QStringLiteral("TForm_chuda"));

    auto *group = new QButtonGroup(this);
    const auto option = [&](const char *name, const QString &text, int row) {
        auto *r = new QRadioButton(text, this);
        r->setObjectName(QLatin1String(name));
        r->setGeometry(40, 20 + 34 * row, 220, 28);
        group->addButton(r);
        return r;
    };
    m_new = option("chuda_new", QStringLiteral("只打印新订单"), 0);
    m_served = option("chuda_served", QStringLiteral("只打印已出餐订单"), 1);
    m_returned = option("chuda_returned", QStringLiteral("只打印已退订单"), 2);
    m_all = option("chuda_all", QStringLiteral("打印所有订单"), 3);
    m_new->setChecked(true);

    m_button = new QPushButton(QStringLiteral("开始打印"), this);
    m_button->setObjectName(QStringLiteral("chuda_print"));
    m_button->setGeometry(80, 170, 140, 36);
    connect(m_button, &QPushButton::clicked, this, &TForm_chuda::print_click);
    connect(&ctx().notifier(),
            &ChangeNotifier::desk_transferred,
            this,
            &TForm_chuda::follow_desk_transfer);
    // The table and order it prints may not exist in a replaced file.
    connect(&ctx().notifier(), &ChangeNotifier::database_replaced, this, &QWidget::hide);
    setFixedSize(300, 230);
}

void TForm_chuda::open_with(const QString &desk_id, const QString &order_id)
{
    mydeskid = desk_id;
    myrootid = order_id;
    mydekno.clear();
    guarded(ctx(), [&] { mydekno = get_desk_field(ctx(), desk_id, QStringLiteral("bh")); });
    open_centred();
}

void TForm_chuda::follow_desk_transfer(const QString &from_id, const QString &to_id)
{
    if (from_id.isEmpty() || from_id != mydeskid)
        return;
    guarded(ctx(), [&] {
        const bool open_order = myrootid.isEmpty() || myrootid == QLatin1String("0");
        if (!open_order && get_desk_order_id(ctx(), to_id) != myrootid)
            return;
        mydeskid = to_id;
        mydekno = get_desk_field(ctx(), to_id, QStringLiteral("bh"));
    });
}

void TForm_chuda::print_click()
{
    const KitchenFilter filter = m_new->isChecked()        ? KitchenFilter::New
                                 : m_served->isChecked()   ? KitchenFilter::Served
                                 : m_returned->isChecked() ? KitchenFilter::Returned
                                                           : KitchenFilter::All;
    toast(QStringLiteral("正在打印中"));
    m_button->setEnabled(false);
    guarded(ctx(), [&] {
        print_kitchen_ticket(ctx(), ctx().settings.shopname, mydekno, mydeskid, myrootid, filter);
    });
    m_button->setEnabled(true);
    hide();
}
