#include "masterdata/ui/tform_desk.h"

TForm_desk::TForm_desk(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("桌位管理"));
    setObjectName(QStringLiteral("TForm_desk"));
}
