#include "app/ui/tform_down.h"

TForm_down::TForm_down(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral(""));
    setObjectName(QStringLiteral("TForm_down"));
}
