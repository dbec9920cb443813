#pragma once

#include "app/ui/forms.h"

#include <QDialog>

// Base of every dialog: one long-lived instance, shown non-modal and centred on
// the main window, hidden instead of destroyed.
class MivoDialog : public QDialog
{
    Q_OBJECT
public:
    MivoDialog(Forms &forms, QWidget *parent);

    // Centre on the main window, show without blocking it, bring to the front. A screen
    // of the administrators refuses anyone else with a toast.
    void open_centred();
    void set_admin_only(bool admin_only) { m_admin_only = admin_only; }
    bool admin_only() const { return m_admin_only; }

protected:
    AppContext &ctx() const { return m_forms.ctx; }
    void toast(const QString &text, int seconds = 2);

    Forms &m_forms;

private:
    bool m_admin_only = false;
};

inline const QString AdminOnlyText = QStringLiteral("只有管理员可以使用此功能");
