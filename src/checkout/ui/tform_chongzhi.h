#pragma once

#include "app/ui/mivo_dialog.h"

class TForm_chongzhi : public MivoDialog
{
    Q_OBJECT
public:
    TForm_chongzhi(Forms &forms, QWidget *parent);
};
