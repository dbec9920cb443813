#include "masterdata/ui/tform_cp_class.h"

TForm_cp_class::TForm_cp_class(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("菜品分类"));
    setObjectName(QStringLiteral("TForm_cp_class"));
}
