#pragma once

#include "app/ui/mivo_dialog.h"

class TForm_yuangong : public MivoDialog
{
    Q_OBJECT
public:
    TForm_yuangong(Forms &forms, QWidget *parent);
};
