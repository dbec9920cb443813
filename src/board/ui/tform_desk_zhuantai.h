#pragma once

#include "app/ui/mivo_dialog.h"

class TForm_desk_zhuantai : public MivoDialog
{
    Q_OBJECT
public:
    TForm_desk_zhuantai(Forms &forms, QWidget *parent);
};
