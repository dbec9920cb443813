#include "printing/ui/tform_chuda.h"

TForm_chuda::TForm_chuda(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("厨打选择"));
    setObjectName(QStringLiteral("TForm_chuda"));
}
