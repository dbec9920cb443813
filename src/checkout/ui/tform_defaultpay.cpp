#include "checkout/ui/tform_defaultpay.h"

#include "app/ini.h"
#include "checkout/ui/pay_box.h"

#include <QGroupBox>
#include <QPushButton>
#include <QShowEvent>

TForm_defaultpay::TForm_defaultpay(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("默认支付方式设置"));
    setObjectName(QStringLiteral("TForm_defaultpay"));
    setFixedSize(346, 230);
    m_save = new QPushButton(QStringLiteral("保存设置"), this);
    m_save->setObjectName(QStringLiteral("Button_save"));
    m_save->setCursor(Qt::PointingHandCursor);
    m_save->setGeometry(8, 182, 100, 36);
    connect(m_save, &QPushButton::clicked, this, &TForm_defaultpay::save_click);
}

void TForm_defaultpay::showEvent(QShowEvent *event)
{
    MivoDialog::showEvent(event);
    // Restoring a minimised dialog keeps the choice in progress.
    if (!event->spontaneous())
        setpaybutton();
}

void TForm_defaultpay::setpaybutton()
{
    m_box = ::setpaybutton(
        this, m_box, QStringLiteral("默认支付方式设置"), QPoint(8, 8), ctx().settings.defaultpay);
}

void TForm_defaultpay::save_click()
{
    ctx().settings.defaultpay.clear();
    const QString id = checked_pay_id(m_box);
    if (id.isEmpty()) {
        toast(QStringLiteral("请选择一个支付方式"));
        return;
    }
    ctx().settings.defaultpay = id;
    if (!IniFile(ctx().paths.ini)
             .writeString(QStringLiteral("Config"), QStringLiteral("defaultpay"), id)) {
        // Kept for this run only; say so rather than claim it was saved.
        toast(QStringLiteral("默认支付方式保存失败，仅本次运行有效"));
        return;
    }
    toast(QStringLiteral("默认支付方式设置成功"));
}
