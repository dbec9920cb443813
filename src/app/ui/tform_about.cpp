#include "app/ui/tform_about.h"

TForm_about::TForm_about(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("关于软件"));
    setObjectName(QStringLiteral("TForm_about"));
}
