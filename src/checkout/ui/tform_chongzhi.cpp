#include "checkout/ui/tform_chongzhi.h"

#include "app/helpers.h"
#include "app/ini.h"
#include "app/notifier.h"
#include "app/ui/box_prompts.h"
#include "checkout/pay_methods.h"
#include "checkout/recharge.h"
#include "checkout/ui/pay_box.h"
#include "checkout/ui/qr_panel.h"
#include "staff/sign_in.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace {

QLabel *text_at(QWidget *parent, const QString &name, const QString &text, const QRect &r)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(r);
    return l;
}

} // namespace

TForm_chongzhi::TForm_chongzhi(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setObjectName(QStringLiteral("TForm_chongzhi"));
    setWindowTitle(QStringLiteral("会员充值"));
    setFixedSize(420, 420);

    m_account = text_at(this, "lbl_account", QStringLiteral("充值账号："), QRect(43, 20, 330, 22));
    m_name = text_at(this, "lbl_truename", QString(), QRect(43, 46, 330, 22));
    text_at(this, "lbl_amount", QStringLiteral("充值金额："), QRect(43, 86, 80, 24));
    m_amount = new QLineEdit(QStringLiteral("500"), this);
    m_amount->setObjectName(QStringLiteral("edit_amount"));
    m_amount->setGeometry(123, 84, 200, 28);
    text_at(this, "lbl_unit", QStringLiteral("元"), QRect(330, 86, 30, 24));

    m_submit = new QPushButton(QStringLiteral("提交并支付"), this);
    m_submit->setObjectName(QStringLiteral("btn_submit"));
    m_submit->setGeometry(43, 312, 330, 40);
    m_submit->setCursor(Qt::PointingHandCursor);
    m_submit->setAutoDefault(false);
    connect(m_submit, &QPushButton::clicked, this, &TForm_chongzhi::submit_click);

    m_panel = new QrPanel(forms, this);
    m_panel->move(10, 10);
    m_panel->payment().setOnCreated([this](const CreateAnswer &a) {
        return guarded(ctx(), [&] { insert_pending_recharge(ctx(), a.ordid, m_pay_amount); });
    });
    connect(m_panel, &QrPanel::paid, this, &TForm_chongzhi::on_paid);
    connect(m_panel, &QrPanel::busyChanged, this, &TForm_chongzhi::set_busy);
    // The member it credits may not exist in a replaced file.
    connect(&ctx().notifier(), &ChangeNotifier::database_replaced, this, &QWidget::hide);
}

void TForm_chongzhi::open_with(const QString &member_id)
{
    uid = member_id;
    mobile.clear();
    truename.clear();
    guarded(ctx(), [&] {
        const RechargeMember m = read_recharge_member(ctx(), member_id);
        mobile = m.mobile;
        truename = m.truename;
    });
    if (isVisible()) {
        m_panel->close_panel();
        hide(); // showing again refreshes the captions for the new member
    }
    open_centred();
}

void TForm_chongzhi::showEvent(QShowEvent *event)
{
    MivoDialog::showEvent(event);
    if (event->spontaneous())
        return;
    m_account->setText(QStringLiteral("充值账号：") + mobile);
    m_name->setText(truename);
    setWindowTitle(QStringLiteral("给手机号：") + mobile + QStringLiteral(",姓名为") + truename
                   + QStringLiteral("的会员余额充值"));
    const IniFile ini(ctx().paths.ini);
    if (ini.exists())
        m_amount->setText(ini.readString("Chongzhi", "lastvalue", QStringLiteral("100.00")));
    setpaybutton();
    set_busy(m_panel->busy());
}

void TForm_chongzhi::setpaybutton()
{
    m_methods = ::setpaybutton(
        this, m_methods, QStringLiteral("支付方式"), QPoint(43, 127), ctx().settings.defaultpay);
    m_panel->raise();
}

void TForm_chongzhi::submit_click()
{
    if (m_panel->busy())
        return;
    const QString amount = m_amount->text().trimmed();
    const QString refusal = recharge_amount_refusal(amount);
    if (!refusal.isEmpty()) {
        toast(refusal);
        return;
    }
    if (!ctx().prompts().confirm(recharge_question(amount)))
        return;
    const IniFile ini(ctx().paths.ini);
    if (ini.exists())
        ini.writeString("Chongzhi", "lastvalue", amount);

    const QString method = checked_pay_id(m_methods);
    if (method.isEmpty())
        return;
    if (is_online_method(method)) {
        m_pay_uid = uid;
        m_pay_amount = amount;
        const double value = num_value(amount);
        m_panel->wxpay({method == PayWeChatOnline ? QStringLiteral("0") : QStringLiteral("1"),
                        value,
                        value,
                        QStringLiteral("会员充值")},
                       amount);
        return;
    }
    bool credited = false;
    guarded(ctx(), [&] { credited = set_vip_balance(ctx(), uid, method, amount); });
    toast(credited           ? QStringLiteral("充值成功")
          : signed_in(ctx()) ? QStringLiteral("充值失败")
                             : SignInFirstText);
}

void TForm_chongzhi::on_paid(const CheckAnswer &answer)
{
    OnlineCredit result = OnlineCredit::NoMember;
    const QString ordid = m_panel->payment().ordid();
    const bool ran = guarded(ctx(), [&] {
        result = complete_online_recharge(ctx(), m_pay_uid, ordid, answer.paytype, answer.price);
    });
    if (ran) {
        const QString notice = paid_amount_notice(m_pay_amount, answer.price);
        if (result == OnlineCredit::Credited && notice.isEmpty())
            ctx().prompts().information(answer.msg);
        else if (result == OnlineCredit::Credited)
            ctx().prompts().warning(notice);
        else
            ctx().prompts().warning(online_credit_message(result));
    }
    m_panel->close_panel();
}

void TForm_chongzhi::set_busy(bool busy)
{
    // While a code is shown the amount and method stay as they were asked for.
    m_submit->setEnabled(!busy);
    m_amount->setReadOnly(busy);
    if (m_methods)
        m_methods->setEnabled(!busy);
}
