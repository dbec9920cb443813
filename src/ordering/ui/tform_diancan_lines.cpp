// The ordering screen's submit and its line list with the batch buttons.

#include "ordering/ui/diancan_columns.h"
#include "ordering/ui/tform_diancan.h"
#include "staff/sign_in.h"

#include "app/ui/box_prompts.h"
#include "app/ui/toast.h"
#include "ordering/diancan.h"
#include "ordering/ui/line_rows.h"
#include "ordering/ui/tform_caipin_zuofa.h"
#include "ordering/ui/tform_gaijia.h"

#include <QCheckBox>
#include <QTableWidget>

using namespace diancan_list;

namespace {} // namespace

// ---- submit ----

void TForm_diancan::submit_click()
{
    if (m_dishes.isEmpty())
        return;
    QVector<CartItem> items;
    for (const TileRecord &r : std::as_const(m_dishes)) {
        if (r.isSelected())
            items.append(
                {r.id, r.title, r.price, r.quantity, r.stock, r.zfid, r.zfidstr, r.remark});
    }
    guarded(ctx(), [&] {
        const SubmitResult res = submit_cart(ctx(), m_desk_id, items);
        switch (res.kind) {
        case SubmitResult::DeskNotOpen:
            ctx().prompts().information(DeskNotOpenText);
            return;
        case SubmitResult::NothingSelected:
            toast(NothingSelectedText);
            return;
        case SubmitResult::Cancelled:
            return;
        case SubmitResult::SignedOut:
            toast(SignInFirstText);
            return;
        case SubmitResult::OrderSettled:
            ctx().prompts().information(OrderSettledText);
            return;
        case SubmitResult::Done:
            break;
        }
        // The line list and the board followed the notifier.
        if (!res.order_id.isEmpty() && res.order_id != NoOrderId)
            m_order_id = res.order_id;
    });
}

// ---- line list ----

void TForm_diancan::load_desk_ord_1()
{
    guarded(ctx(), [&] {
        const QSignalBlocker quiet(m_list);
        m_list->setRowCount(0);
        m_all->setChecked(false);
        const QVector<OrderLineView> rows = read_order_lines(ctx(), m_desk_id);
        m_list->setRowCount(int(rows.size()));
        for (int r = 0; r < rows.size(); ++r) {
            const OrderLineView &v = rows[r];
            set_line_row(m_list,
                         r,
                         {v.number,
                          v.id,
                          v.title,
                          v.zfidstr,
                          v.oneprice,
                          v.quantity,
                          v.amount,
                          v.stat,
                          v.remark},
                         v.returned,
                         ColPrice);
        }
    });
}

void TForm_diancan::all_click(bool checked)
{
    if (m_desk_id.isEmpty())
        return;
    set_all_lines_checked(m_list, checked);
}

void TForm_diancan::line_item_changed(QTableWidgetItem *item)
{
    if (item->column() != ColNumber)
        return;
    m_all->setChecked(all_lines_checked(m_list));
}

QString TForm_diancan::checked_line_ids() const
{
    return checked_row_ids(m_list, ColId);
}

void TForm_diancan::batch_click(LineOp op)
{
    const QString ids = checked_line_ids();
    if (ids.isEmpty()) {
        toast(NoLineCheckedText);
        return;
    }
    const BatchTexts texts = batch_texts(op);
    if (!ctx().prompts().confirm(texts.confirm))
        return;
    guarded(ctx(), [&] {
        if (!batch_lines(ctx(), op, ids)) {
            // The bill was paid meanwhile; the list shows the table as it is now.
            load_desk_ord_1();
            toast(signed_in(ctx()) ? LinesSettledText : SignInFirstText);
            return;
        }
        // The list and the board followed the recomputed totals through the notifier.
        toast(texts.done);
    });
}

void TForm_diancan::gaijia_click()
{
    const QString ids = checked_line_ids();
    if (ids.isEmpty()) {
        toast(NoLineCheckedText);
        return;
    }
    m_forms.gaijia->open_with(m_desk_id, m_order_id, ids);
}

void TForm_diancan::zuofa_click()
{
    m_forms.caipin_zuofa->open_with(m_desk_id, m_order_id);
}
