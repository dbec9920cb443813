#pragma once

#include "app/ui/mivo_dialog.h"

class TForm_about : public MivoDialog
{
    Q_OBJECT
public:
    TForm_about(Forms &forms, QWidget *parent);
};
