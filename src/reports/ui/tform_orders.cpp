#include "reports/ui/tform_orders.h"

TForm_orders::TForm_orders(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("订单"));
    setObjectName(QStringLiteral("TForm_orders"));
}
