#pragma once

#include "app/ui/mivo_dialog.h"

class TForm_gaijia : public MivoDialog
{
    Q_OBJECT
public:
    TForm_gaijia(Forms &forms, QWidget *parent);
};
