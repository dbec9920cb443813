#include "app/ui/tform_shop_orders.h"

TForm_shop_orders::TForm_shop_orders(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("我的商城订单"));
    setObjectName(QStringLiteral("TForm_shop_orders"));
}
