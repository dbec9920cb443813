#include "checkout/ui/tform_chongzhi.h"

TForm_chongzhi::TForm_chongzhi(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("会员充值"));
    setObjectName(QStringLiteral("TForm_chongzhi"));
}
