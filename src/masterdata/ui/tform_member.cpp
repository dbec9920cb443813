#include "masterdata/ui/tform_member.h"

TForm_member::TForm_member(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("会员管理"));
    setObjectName(QStringLiteral("TForm_member"));
}
