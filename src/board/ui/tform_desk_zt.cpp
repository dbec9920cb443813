#include "board/ui/tform_desk_zt.h"

TForm_desk_zt::TForm_desk_zt(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("桌位状态"));
    setObjectName(QStringLiteral("TForm_desk_zt"));
}
