#include "masterdata/ui/tform_caipin.h"

TForm_caipin::TForm_caipin(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("菜品管理"));
    setObjectName(QStringLiteral("TForm_caipin"));
}
