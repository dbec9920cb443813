#include "settings/ui/tform_backup.h"

TForm_backup::TForm_backup(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("数据库备份设置"));
    setObjectName(QStringLiteral("TForm_backup"));
}
