#include "app/ui/tform_orders_detail.h"

TForm_orders_detail::TForm_orders_detail(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("订单详情"));
    setObjectName(QStringLiteral("TForm_orders_detail"));
}
