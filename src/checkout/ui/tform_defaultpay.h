#pragma once

#include "app/ui/mivo_dialog.h"

class TForm_defaultpay : public MivoDialog
{
    Q_OBJECT
public:
    TForm_defaultpay(Forms &forms, QWidget *parent);
};
