#include "checkout/ui/tform_cancel.h"

#include "app/helpers.h"
#include "app/notifier.h"
#include "app/ui/box_prompts.h"
#include "app/ui/toast.h"
#include "board/ui/tform_main.h"
#include "checkout/checkout.h"
#include "ordering/diancan.h"
#include "ordering/ui/line_rows.h"
#include "ordering/ui/tform_gaijia.h"
#include "staff/sign_in.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace {

enum Column {
    ColNumber,
    ColId,
    ColTitle,
    ColMethods,
    ColPrice,
    ColQuantity,
    ColAmount,
    ColDiscount,
    ColStat,
    ColRemark,
    ColumnCount
};

constexpr int ListWidth = 720;

// Everything of a line the checkout shows or charges.
QStringList line_keys(const QVector<CheckoutLine> &lines)
{
    QStringList keys;
    keys.reserve(lines.size());
    for (const CheckoutLine &l : lines)
        keys
            << QStringList{l.id, l.title, l.zfidstr, l.oneprice, l.quantity, l.zk, l.stat, l.remark}
                   .join(QChar(0x1f));
    return keys;
}

} // namespace

TForm_cancel::TForm_cancel(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("结账"));
    setObjectName(QStringLiteral("TForm_cancel"));
    setFixedSize(1085, 694);
    build_lines_side();
    build_pay_side();
    ChangeNotifier &n = ctx().notifier();
    connect(&n, &ChangeNotifier::desk_changed, this, &TForm_cancel::on_desk_changed);
    connect(&n,
            &ChangeNotifier::lines_changed,
            this,
            [this](const QString &order, const QString &desk) {
                on_desk_changed(!order.isEmpty() && order == m_order_id ? m_desk_id : desk);
            });
    // The bill it shows may not exist in a replaced file.
    connect(&n, &ChangeNotifier::database_replaced, this, &QWidget::hide);
}

void TForm_cancel::build_lines_side()
{
    const LineBatchBar bar = make_line_batch_bar(
        this, [this](LineOp op) { batch_click(op); }, [this] { gaijia_click(); });
    m_all = bar.all;
    m_all->setGeometry(10, 12, 60, 26);
    connect(m_all, &QCheckBox::clicked, this, &TForm_cancel::all_click);
    int x = 74;
    for (QPushButton *btn : bar.buttons) {
        const int w = text_width(btn->text()) + 24;
        btn->setGeometry(x, 10, w, 30);
        x += w + 6;
        m_bill_buttons << btn;
    }

    m_list = make_line_list(this,
                            {QStringLiteral("编号"),
                             QStringLiteral("id"),
                             QStringLiteral("菜品名称"),
                             QStringLiteral("做法"),
                             QStringLiteral("单价"),
                             QStringLiteral("数量"),
                             QStringLiteral("金额"),
                             QStringLiteral("打折"),
                             QStringLiteral("状态"),
                             QStringLiteral("备注")},
                            ColId,
                            QAbstractItemView::ExtendedSelection);
    m_list->setGeometry(10, 48, ListWidth, height() - 58);
    const int fixed[ColumnCount] = {50, 0, 0, 80, 60, 45, 65, 55, 60, 80};
    int others = 0;
    for (int c = 0; c < ColumnCount; ++c) {
        if (c != ColTitle)
            m_list->setColumnWidth(c, fixed[c]);
        others += fixed[c];
    }
    m_list->setColumnWidth(ColTitle, ListWidth - others - 24);
    connect(m_list, &QTableWidget::itemChanged, this, &TForm_cancel::line_item_changed);
}

void TForm_cancel::open_with(const QString &desk_id, const QString &order_id)
{
    m_desk_id = desk_id;
    m_order_id = order_id.isEmpty() ? NoOrderId : order_id;
    userid.clear();
    guarded(ctx(), [&] { reload_all(); });
    open_centred();
}

void TForm_cancel::reload_all()
{
    getlist();
    getalprice();
    allbalance = 0;
    reset_member();
    {
        // Emptied together; the amounts are computed once below.
        const QSignalBlocker q1(m_mobile), q2(m_deduct), q3(m_zekou), q4(m_jianmian);
        m_mobile->clear();
        m_deduct->clear();
        m_zekou->clear();
        m_jianmian->clear();
    }
    auto_cal();
    get_desk_info();
    setpaybutton();
}

void TForm_cancel::reload_bill()
{
    getlist();
    getalprice();
    auto_cal();
}

void TForm_cancel::on_desk_changed(const QString &desk_id)
{
    if (!isVisible() || m_order_id == NoOrderId)
        return;
    guarded(ctx(), [&] {
        if (desk_id == m_desk_id || desk_id == order_desk_id(ctx(), m_order_id))
            refresh_if_changed();
    });
}

void TForm_cancel::changeEvent(QEvent *event)
{
    MivoDialog::changeEvent(event);
    // Back from the price change or the ordering screen: show the bill as it is now.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_order_id != NoOrderId)
        guarded(ctx(), [&] { refresh_if_changed(); });
}

void TForm_cancel::refresh_if_changed()
{
    if (line_keys(read_checkout_lines(ctx(), m_order_id)) == m_shown_lines)
        return;
    // The member and the inputs stay; check marks go with the old rows.
    reload_bill();
    get_desk_info();
}

// ---- lines ----

void TForm_cancel::getlist()
{
    const QSignalBlocker quiet(m_list);
    m_list->setRowCount(0);
    m_all->setChecked(false);
    const QVector<CheckoutLine> rows = read_checkout_lines(ctx(), m_order_id);
    m_shown_lines = line_keys(rows);
    m_list->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const CheckoutLine &l = rows[r];
        set_line_row(m_list,
                     r,
                     {l.number,
                      l.id,
                      l.title,
                      l.zfidstr,
                      l.oneprice,
                      l.quantity,
                      l.amount,
                      l.zk,
                      l.stat,
                      l.remark},
                     l.returned,
                     ColPrice);
    }
}

QString TForm_cancel::get_choose_caipin() const
{
    return checked_row_ids(m_list, ColId);
}

void TForm_cancel::all_click(bool checked)
{
    if (m_order_id == NoOrderId)
        return;
    set_all_lines_checked(m_list, checked);
}

void TForm_cancel::line_item_changed(QTableWidgetItem *item)
{
    if (item->column() != ColNumber)
        return;
    m_all->setChecked(all_lines_checked(m_list));
}

void TForm_cancel::batch_click(LineOp op)
{
    const QString ids = get_choose_caipin();
    if (ids.isEmpty()) {
        toast(NoLineCheckedText);
        return;
    }
    BatchTexts texts = batch_texts(op);
    if (op == LineOp::Delete)
        texts.confirm = QStringLiteral("确定要批量删除这些订单菜品吗");
    if (!ctx().prompts().confirm(texts.confirm))
        return;
    guarded(ctx(), [&] {
        // A settled bill is not changed afterwards.
        if (!order_is_open(ctx(), m_order_id) || !batch_lines(ctx(), op, ids)) {
            toast(signed_in(ctx()) ? OrderGoneText : SignInFirstText);
            m_order_id = get_desk_order_id(ctx(), m_desk_id);
            reload_all();
            return;
        }
        // The member and the input fields stay; only the bill follows.
        reload_bill();
        toast(texts.done);
    });
}

void TForm_cancel::gaijia_click()
{
    const QString ids = get_choose_caipin();
    if (ids.isEmpty()) {
        toast(NoLineCheckedText);
        return;
    }
    guarded(ctx(),
            [&] { m_forms.gaijia->open_with(order_desk_id(ctx(), m_order_id), m_order_id, ids); });
}
