// The checkout's right-hand side: member, discount and reduction, amounts, payment
// method and settling.
#include "checkout/ui/tform_cancel.h"

#include "app/helpers.h"
#include "app/ui/box_prompts.h"
#include "checkout/checkout.h"
#include "checkout/pay_methods.h"
#include "checkout/ui/checkout_qr.h"
#include "checkout/ui/pay_box.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace {

constexpr int SideLeft = 743;
constexpr int SideWidth = 330;

QLabel *label_at(QWidget *parent, const QString &name, const QString &text, QRect at)
{
    auto *l = new QLabel(text, parent);
    if (!name.isEmpty())
        l->setObjectName(name);
    l->setGeometry(at);
    return l;
}

QLineEdit *edit_at(QWidget *parent, const QString &name, const QString &hint, QRect at)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setPlaceholderText(hint);
    e->setGeometry(at);
    return e;
}

QPushButton *button_at(QWidget *parent, const QString &name, const QString &text, QRect at)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setCursor(Qt::PointingHandCursor);
    b->setAutoDefault(false);
    b->setGeometry(at);
    return b;
}

QGroupBox *group_at(QWidget *parent, const QString &title, int top, int height)
{
    auto *g = new QGroupBox(title, parent);
    g->setGeometry(SideLeft, top, SideWidth, height);
    return g;
}

const QString ZekouCaption = QStringLiteral("会员折扣：");
const QString BalanceCaption = QStringLiteral("账户余额：");

} // namespace

void TForm_cancel::build_pay_side()
{
    QGroupBox *member = group_at(this, QStringLiteral("会员信息"), 8, 130);
    label_at(member, {}, QStringLiteral("会员查询："), {10, 26, 72, 24});
    m_mobile = edit_at(member, "Edit_mobile", QStringLiteral("输入手机号查询"), {82, 26, 150, 24});
    auto *search = button_at(member, "Button_search", QStringLiteral("查询"), {240, 25, 80, 26});
    connect(search, &QPushButton::clicked, this, &TForm_cancel::search_click);
    m_bill_buttons << search;
    // Enter in the mobile field looks the member up, not more.
    connect(m_mobile, &QLineEdit::returnPressed, this, &TForm_cancel::search_click);
    m_member_zekou = label_at(member, "Label_member_zekou", ZekouCaption, {10, 60, 150, 22});
    m_member_balance = label_at(member, "Label_member_balance", BalanceCaption, {160, 60, 140, 22});
    label_at(member, {}, QStringLiteral("元"), {302, 60, 20, 22});
    label_at(member, {}, QStringLiteral("余额扣费："), {10, 94, 72, 24});
    m_deduct = edit_at(member, "Edit_deduct", QStringLiteral("扣除金额"), {82, 94, 120, 24});
    connect(m_deduct, &QLineEdit::textChanged, this, &TForm_cancel::deduction_changed);
    auto *use = button_at(
        member, "Button_usebalance", QStringLiteral("使用余额支付"), {210, 93, 110, 26});
    connect(use, &QPushButton::clicked, this, &TForm_cancel::use_balance_click);
    m_bill_buttons << use;

    QGroupBox *rebate = group_at(this, QStringLiteral("折扣与减免设置"), 144, 88);
    label_at(rebate, {}, QStringLiteral("打折折扣："), {10, 24, 72, 24});
    m_zekou = edit_at(rebate, "Edit_zekou", {}, {82, 24, 80, 24});
    label_at(rebate, {}, QStringLiteral("折"), {168, 24, 20, 24});
    label_at(rebate, {}, QStringLiteral("减免金额："), {10, 56, 72, 24});
    m_jianmian
        = edit_at(rebate, "Edit_jianmian", QStringLiteral("负数表示增加金额"), {82, 56, 150, 24});
    label_at(rebate, {}, QStringLiteral("元"), {238, 56, 20, 24});
    connect(m_zekou, &QLineEdit::textChanged, this, &TForm_cancel::auto_cal);
    connect(m_jianmian, &QLineEdit::textChanged, this, &TForm_cancel::auto_cal);

    QGroupBox *meal = group_at(this, QStringLiteral("消费信息"), 238, 70);
    m_bh = label_at(meal, "Label_bh", QStringLiteral("桌位编号："), {10, 22, 125, 20});
    m_addtime = label_at(meal, "Label_addtime", QStringLiteral("开台时间："), {135, 22, 190, 20});
    m_fwy = label_at(meal, "Label_fwy", QStringLiteral("服务员："), {10, 45, 125, 20});
    m_nums = label_at(meal, "Label_nums", QStringLiteral("用餐人数："), {135, 45, 190, 20});

    QGroupBox *pay = group_at(this, QStringLiteral("支付信息"), 314, 146);
    m_allprice = label_at(pay, "Label_allprice", QStringLiteral("订单金额："), {10, 24, 310, 24});
    m_zkprice = label_at(pay, "Label_zkprice", QStringLiteral("参与打折菜品："), {10, 52, 310, 24});
    m_jmprice = label_at(pay, "Label_jmprice", QStringLiteral("减免金额："), {10, 80, 310, 24});
    m_payprice = label_at(pay, "Label_payprice", QStringLiteral("应付金额："), {10, 108, 310, 30});
    QFont big = m_payprice->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    m_payprice->setFont(big);
    m_payprice->setStyleSheet(QStringLiteral("color:#d9001b"));

    m_settle = button_at(
        this, "Button_settle", QStringLiteral("开始结算"), {SideLeft, 640, SideWidth, 44});
    connect(m_settle, &QPushButton::clicked, this, &TForm_cancel::settle_click);
}

void TForm_cancel::setpaybutton()
{
    m_paybox = ::setpaybutton(
        this, m_paybox, QStringLiteral("支付方式"), QPoint(743, 467), ctx().settings.defaultpay);
}

// ---- amounts ----

void TForm_cancel::getalprice()
{
    allprice = 0;
    allzekouprice = 0;
    const CheckoutTotals t = ::getalprice(ctx(), m_order_id);
    allprice = t.allprice;
    allzekouprice = t.allzekouprice;
    m_allprice->setText(QStringLiteral("订单金额：") + format_money(round_cents(allprice)));
}

void TForm_cancel::auto_cal()
{
    const Payable p = ::auto_cal({allprice, allzekouprice},
                                 allbalance,
                                 m_deduct->text(),
                                 m_zekou->text(),
                                 m_jianmian->text(),
                                 &ctx().prompts());
    payprice = p.payprice;
    if (p.negative()) {
        toast(NegativePayText);
        return;
    }
    m_zkprice->setText(QStringLiteral("参与打折菜品：") + format_money(round_cents(allzekouprice)));
    m_jmprice->setText(QStringLiteral("减免金额：") + reduction_text(p.reduction));
    m_payprice->setText(QStringLiteral("应付金额：") + format_money(payprice));
}

void TForm_cancel::get_desk_info()
{
    // The table the order is on now (a transfer moves it), else the one opened with.
    QString desk = m_order_id == NoOrderId ? QString() : order_desk_id(ctx(), m_order_id);
    if (desk.isEmpty())
        desk = m_desk_id;
    const CheckoutDesk d = ::get_desk_info(ctx(), desk);
    m_bh->setText(QStringLiteral("桌位编号：") + d.bh);
    m_nums->setText(QStringLiteral("用餐人数：") + d.nums);
    m_addtime->setText(QStringLiteral("开台时间：") + d.addtime);
    m_fwy->setText(QStringLiteral("服务员：") + d.fwy);
}

// ---- member ----

void TForm_cancel::reset_member()
{
    userid.clear();
    allbalance = 0;
    m_member_zekou->setText(ZekouCaption);
    m_member_balance->setText(BalanceCaption);
}

void TForm_cancel::search_click()
{
    const QString mobile = m_mobile->text().trimmed();
    if (!is_mobile(mobile)) {
        toast(MobileWrongText);
        return;
    }
    guarded(ctx(), [&] { get_member_info(mobile); });
}

void TForm_cancel::get_member_info(const QString &mobile)
{
    const MemberInfo m = ::get_member_info(ctx(), mobile);
    if (!m.found) {
        toast(MemberMissingText);
        reset_member();
        m_zekou->clear();
    } else {
        allbalance = m.balance_value;
        userid = m.id;
        m_member_zekou->setText(ZekouCaption + m.zekou + QStringLiteral("折"));
        m_member_balance->setText(BalanceCaption + m.balance);
        const QSignalBlocker quiet(m_zekou);
        m_zekou->setText(m.zekou);
    }
    // A deduction typed for another member must not stay beyond this one's balance.
    if (check_deduction(m_deduct->text(), allbalance) == DeductionTooMuchText) {
        const QSignalBlocker quiet(m_deduct);
        m_deduct->setText(QStringLiteral("0"));
    }
    auto_cal();
}

void TForm_cancel::deduction_changed()
{
    const QString message = check_deduction(m_deduct->text(), allbalance, &ctx().prompts());
    if (!message.isEmpty()) {
        toast(message);
        m_deduct->setText(QStringLiteral("0")); // comes back here, accepted
        return;
    }
    auto_cal();
}

void TForm_cancel::use_balance_click()
{
    auto_cal();
    // The balance pays everything there is to pay, whatever was deducted already.
    Payable p = ::auto_cal(
        {allprice, allzekouprice}, allbalance, {}, m_zekou->text(), m_jianmian->text());
    if (allbalance > 0 && !p.negative()
        && cents_half_up(p.before_deduction) <= cents_half_up(allbalance))
        m_deduct->setText(general_decimal(p.before_deduction));
}

// ---- settling ----

void TForm_cancel::settle_click()
{
    guarded(ctx(), [&] {
        if (order_line_count(ctx(), m_order_id) == 0) {
            toast(QStringLiteral("商品无订单，无需结算"));
            return;
        }
        if (!ctx().prompts().confirm(QStringLiteral("确认要结算当前订单吗")))
            return;
        const QString method = checked_pay_id(m_paybox);
        if (method.isEmpty())
            return;
        if (is_online_method(method)) {
            start_online_payment(method);
            return;
        }
        if (set_cancal(method)) {
            toast(SettledText);
            return;
        }
        toast(m_result.message);
        if (!m_result.error.isEmpty())
            ctx().prompts().error(m_result.error);
    });
}

void TForm_cancel::start_online_payment(const QString &method)
{
    // WeChat ("1") or Alipay ("2"): the guest scans the code, and the order this
    // dialog showed when the code was made is settled once the service reports it paid.
    if (!m_qr) {
        m_qr = new CheckoutQr(m_forms, this);
        m_qr->setSettle([this](const QString &order_id, const QString &paytype) {
            // Only the bill still shown here may be settled, and only for what was paid.
            return order_id == m_order_id && set_cancal(paytype, m_qr->asked());
        });
        connect(m_qr, &CheckoutQr::busyChanged, this, &TForm_cancel::lock_for_online_payment);
        connect(m_qr, &CheckoutQr::settled, this, [this] {
            toast(SettledText);
            hide();
        });
    }
    auto_cal();
    m_qr->pay_order(m_desk_id, m_order_id, method, payprice, allprice);
}

void TForm_cancel::lock_for_online_payment(bool busy)
{
    // While a code is out, the amounts it was made for stay as they are.
    for (QWidget *w : {static_cast<QWidget *>(m_list),
                       static_cast<QWidget *>(m_all),
                       static_cast<QWidget *>(m_mobile),
                       static_cast<QWidget *>(m_deduct),
                       static_cast<QWidget *>(m_zekou),
                       static_cast<QWidget *>(m_jianmian),
                       static_cast<QWidget *>(m_paybox),
                       static_cast<QWidget *>(m_settle)})
        if (w)
            w->setEnabled(!busy);
    for (QPushButton *b : std::as_const(m_bill_buttons))
        b->setEnabled(!busy);
}

bool TForm_cancel::set_cancal(const QString &paytype, std::optional<double> paid)
{
    auto_cal();
    SettleRequest r;
    r.order_id = m_order_id;
    r.paytype = paytype;
    r.member_id = userid;
    r.deduction = m_deduct->text();
    r.discount = m_zekou->text();
    r.reduction = m_jianmian->text();
    if (paid)
        r.shown_payprice = *paid;
    else if (!(payprice < 0))
        r.shown_payprice = payprice;
    m_result = settle_order(ctx(), r);
    if (m_result.ok()) {
        // The bill is closed: nothing of it can be changed or settled again here.
        m_order_id = NoOrderId;
        reload_all();
        return true;
    }
    after_refusal();
    return false;
}

void TForm_cancel::after_refusal()
{
    switch (m_result.outcome) {
    case SettleResult::OrderGone:
        // Show what the table holds now; its new bill is settled only when seen.
        m_order_id = get_desk_order_id(ctx(), m_desk_id);
        reload_all();
        break;
    case SettleResult::AmountChanged:
        reload_bill();
        break;
    case SettleResult::BalanceShort:
    case SettleResult::MemberGone: {
        const QString mobile = m_mobile->text().trimmed();
        const MemberInfo m = ::get_member_info(ctx(), mobile);
        if (m.found && m.id == userid) {
            allbalance = m.balance_value;
            m_member_balance->setText(BalanceCaption + m.balance);
        } else {
            reset_member();
            m_zekou->clear();
        }
        m_deduct->setText(QStringLiteral("0"));
        break;
    }
    default:
        break;
    }
}
