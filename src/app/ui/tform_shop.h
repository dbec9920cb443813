#pragma once

#include "app/ui/mivo_dialog.h"

class TForm_shop : public MivoDialog
{
    Q_OBJECT
public:
    TForm_shop(Forms &forms, QWidget *parent);
};
