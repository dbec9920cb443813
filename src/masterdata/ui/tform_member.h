#pragma once

#include "app/ui/mivo_dialog.h"

class TForm_member : public MivoDialog
{
    Q_OBJECT
public:
    TForm_member(Forms &forms, QWidget *parent);
};
