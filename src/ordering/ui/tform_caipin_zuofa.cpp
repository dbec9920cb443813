#include "ordering/ui/tform_caipin_zuofa.h"

TForm_caipin_zuofa::TForm_caipin_zuofa(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("数量、做法与备注"));
    setObjectName(QStringLiteral("TForm_caipin_zuofa"));
}
