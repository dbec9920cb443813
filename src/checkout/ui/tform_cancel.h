#pragma once

#include "app/ui/mivo_dialog.h"

class TForm_cancel : public MivoDialog
{
    Q_OBJECT
public:
    TForm_cancel(Forms &forms, QWidget *parent);
};
