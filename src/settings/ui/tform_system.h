#pragma once

#include "app/ui/mivo_dialog.h"

class TForm_system : public MivoDialog
{
    Q_OBJECT
public:
    TForm_system(Forms &forms, QWidget *parent);
};
