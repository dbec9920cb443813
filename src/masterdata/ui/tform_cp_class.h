#pragma once

#include "app/ui/mivo_dialog.h"

class TForm_cp_class : public MivoDialog
{
    Q_OBJECT
public:
    TForm_cp_class(Forms &forms, QWidget *parent);
};
