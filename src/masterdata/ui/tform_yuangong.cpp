#include "masterdata/ui/tform_yuangong.h"

TForm_yuangong::TForm_yuangong(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("员工设置"));
    setObjectName(QStringLiteral("TForm_yuangong"));
}
