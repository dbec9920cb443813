#include "checkout/ui/tform_cancel.h"

TForm_cancel::TForm_cancel(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("结账"));
    setObjectName(QStringLiteral("TForm_cancel"));
}
