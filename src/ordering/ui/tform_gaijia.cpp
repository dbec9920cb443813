#include "ordering/ui/tform_gaijia.h"

TForm_gaijia::TForm_gaijia(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("改价"));
    setObjectName(QStringLiteral("TForm_gaijia"));
}
