#include "checkout/ui/checkout_qr.h"

#include "app/helpers.h"
#include "app/ui/box_prompts.h"
#include "app/ui/forms.h"
#include "checkout/online_checkout.h"
#include "checkout/ui/qr_panel.h"

CheckoutQr::CheckoutQr(Forms &forms, QWidget *dialog)
    : QObject(dialog)
    , m_forms(forms)
    , m_panel(new QrPanel(forms, dialog))
{
    m_panel->payment().setOnCreated([this](const CreateAnswer &a) {
        return guarded(m_forms.ctx,
                       [&] { record_checkout_ordid(m_forms.ctx, m_order_id, a.ordid); });
    });
    connect(m_panel, &QrPanel::paid, this, &CheckoutQr::on_paid);
    connect(m_panel, &QrPanel::busyChanged, this, &CheckoutQr::busyChanged);
}

bool CheckoutQr::busy() const
{
    return m_panel->busy();
}

void CheckoutQr::pay_order(const QString &desk_id,
                           const QString &order_id,
                           const QString &method,
                           double payprice,
                           double allprice)
{
    PayRequest request;
    if (!guarded(m_forms.ctx, [&] {
            request = checkout_pay_request(m_forms.ctx, order_id, method, payprice, allprice);
        }))
        return;
    m_desk_id = desk_id;
    m_order_id = order_id;
    m_payprice = payprice;
    m_panel->wxpay(request, format_money(payprice) + QStringLiteral("元"));
}

void CheckoutQr::on_paid(const CheckAnswer &answer)
{
    AppContext &ctx = m_forms.ctx;
    const QString desk = m_desk_id;
    const QString order = m_order_id;
    // A report of another amount is not this payment (a confused or restarted service).
    if (const QString refusal = paid_amount_refusal(answer.price, m_payprice); !refusal.isEmpty()) {
        m_panel->close_panel();
        ctx.prompts().warning(refusal);
        return;
    }
    bool open = false;
    if (!guarded(ctx, [&] { open = order_still_open(ctx, order); })) {
        m_panel->close_panel();
        return;
    }
    if (!open) {
        // Settled meanwhile (another counter, or cash after the code was closed): the
        // order is not settled twice and no table is freed.
        m_panel->close_panel();
        ctx.prompts().warning(settled_meanwhile_message());
        return;
    }
    const bool ok = m_settle && m_settle(order, answer.paytype);
    if (!ok) {
        m_panel->close_panel();
        ctx.prompts().warning(QStringLiteral("已收到在线支付，但结算失败，请核对订单后处理"));
        return;
    }
    ctx.prompts().information(answer.msg);
    m_panel->close_panel();
    emit settled(desk, order);
}
