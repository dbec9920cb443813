#pragma once

#include "app/ui/mivo_dialog.h"

class TForm_chuda : public MivoDialog
{
    Q_OBJECT
public:
    TForm_chuda(Forms &forms, QWidget *parent);

    // The table, its number and the order (empty: the open order) to print for.
    QString mydeskid;
    QString mydekno;
    QString myrootid;
};
