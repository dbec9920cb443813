#pragma once

#include "app/ui/mivo_dialog.h"

class TForm_caipin_zuofa : public MivoDialog
{
    Q_OBJECT
public:
    TForm_caipin_zuofa(Forms &forms, QWidget *parent);
};
