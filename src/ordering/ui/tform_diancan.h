#pragma once

#include "app/ui/mivo_dialog.h"

class TForm_diancan : public MivoDialog
{
    Q_OBJECT
public:
    TForm_diancan(Forms &forms, QWidget *parent);
};
