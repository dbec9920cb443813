#include "settings/ui/tform_system.h"

TForm_system::TForm_system(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("系统设置"));
    setObjectName(QStringLiteral("TForm_system"));
}
