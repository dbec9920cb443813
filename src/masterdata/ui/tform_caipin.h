#pragma once

#include "app/ui/mivo_dialog.h"

class TForm_caipin : public MivoDialog
{
    Q_OBJECT
public:
    TForm_caipin(Forms &forms, QWidget *parent);
};
