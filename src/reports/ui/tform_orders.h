#pragma once

#include "app/ui/mivo_dialog.h"

class TForm_orders : public MivoDialog
{
    Q_OBJECT
public:
    TForm_orders(Forms &forms, QWidget *parent);
};
