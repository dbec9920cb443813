#pragma once

#include "app/ui/mivo_dialog.h"

class TForm_modify : public MivoDialog
{
    Q_OBJECT
public:
    TForm_modify(Forms &forms, QWidget *parent);
};
