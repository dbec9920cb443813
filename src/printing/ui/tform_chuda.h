#pragma once

#include "app/ui/mivo_dialog.h"

class TForm_chuda : public MivoDialog
{
    Q_OBJECT
public:
    TForm_chuda(Forms &forms, QWidget *parent);
};
