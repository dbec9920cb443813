#include "checkout/ui/tform_defaultpay.h"

TForm_defaultpay::TForm_defaultpay(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("默认支付方式设置"));
    setObjectName(QStringLiteral("TForm_defaultpay"));
}
