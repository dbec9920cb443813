#pragma once

#include "app/ui/mivo_dialog.h"

class TForm_down : public MivoDialog
{
    Q_OBJECT
public:
    TForm_down(Forms &forms, QWidget *parent);
};
