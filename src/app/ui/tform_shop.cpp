#include "app/ui/tform_shop.h"

TForm_shop::TForm_shop(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("便捷商城"));
    setObjectName(QStringLiteral("TForm_shop"));
}
