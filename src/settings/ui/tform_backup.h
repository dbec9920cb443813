#pragma once

#include "app/ui/mivo_dialog.h"

class TForm_backup : public MivoDialog
{
    Q_OBJECT
public:
    TForm_backup(Forms &forms, QWidget *parent);
};
