#include "app/ui/mivo_dialog.h"

#include "board/ui/tform_main.h"
#include "staff/sign_in.h"

MivoDialog::MivoDialog(Forms &forms, QWidget *parent)
    : QDialog(parent)
    , m_forms(forms)
{
    setModal(false);
}

void MivoDialog::open_centred()
{
    if (m_admin_only && (!signed_in(ctx()) || ctx().account.role != 9)) {
        show_toast(m_forms, AdminOnlyText, 0, m_forms.main);
        return;
    }
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
