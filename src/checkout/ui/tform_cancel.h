#pragma once

#include "app/ui/mivo_dialog.h"

class TForm_cancel : public MivoDialog
{
    Q_OBJECT
public:
    TForm_cancel(Forms &forms, QWidget *parent);

    // The member chosen for this checkout; the board clears it when it opens the dialog.
    QString userid;
};
