#include "app/ui/desk_dialog.h"

#include "app/notifier.h"

DeskDialog::DeskDialog(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    connect(&ctx().notifier(), &ChangeNotifier::database_replaced, this, &QWidget::hide);
}
