#include "app/ui/mivo_dialog.h"

#include "board/ui/tform_main.h"

MivoDialog::MivoDialog(Forms &forms, QWidget *parent)
    : QDialog(parent)
    , m_forms(forms)
{
    setModal(false);
}

void MivoDialog::open_centred()
{
    if (QWidget *main = m_forms.main) {
        const QRect frame = main->frameGeometry();
        move(frame.x() + (frame.width() - width()) / 2,
             frame.y() + (frame.height() - height()) / 2);
    }
    show();
    raise();
    activateWindow();
}

void MivoDialog::toast(const QString &text, int seconds)
{
    show_toast(m_forms, text, seconds, this);
}
