#include "staff/ui/tform_modify.h"

TForm_modify::TForm_modify(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("个人资料修改"));
    setObjectName(QStringLiteral("TForm_modify"));
}
