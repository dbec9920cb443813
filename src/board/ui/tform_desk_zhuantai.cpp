#include "board/ui/tform_desk_zhuantai.h"

TForm_desk_zhuantai::TForm_desk_zhuantai(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("餐桌转台"));
    setObjectName(QStringLiteral("TForm_desk_zhuantai"));
}
