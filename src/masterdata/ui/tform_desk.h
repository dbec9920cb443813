#pragma once

#include "app/ui/mivo_dialog.h"

class TForm_desk : public MivoDialog
{
    Q_OBJECT
public:
    TForm_desk(Forms &forms, QWidget *parent);
};
