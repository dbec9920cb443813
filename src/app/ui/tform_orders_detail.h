#pragma once

#include "app/ui/mivo_dialog.h"

class TForm_orders_detail : public MivoDialog
{
    Q_OBJECT
public:
    TForm_orders_detail(Forms &forms, QWidget *parent);
};
