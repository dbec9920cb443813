#pragma once

#include "app/ui/mivo_dialog.h"

class TForm_desk_class : public MivoDialog
{
    Q_OBJECT
public:
    TForm_desk_class(Forms &forms, QWidget *parent);
};
