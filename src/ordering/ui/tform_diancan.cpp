#include "ordering/ui/tform_diancan.h"

TForm_diancan::TForm_diancan(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("点餐"));
    setObjectName(QStringLiteral("TForm_diancan"));
}
