#include "masterdata/ui/tform_desk_class.h"

TForm_desk_class::TForm_desk_class(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("桌号分类"));
    setObjectName(QStringLiteral("TForm_desk_class"));
}
