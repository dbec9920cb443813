#pragma once

#include "app/ui/mivo_dialog.h"

class TForm_desk_zt : public MivoDialog
{
    Q_OBJECT
public:
    TForm_desk_zt(Forms &forms, QWidget *parent);
};
