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

    // Centre on the main window, show without blocking it, bring to the front.
    void open_centred();

protected:
    AppContext &ctx() const { return m_forms.ctx; }
    void toast(const QString &text, int seconds = 2);

    Forms &m_forms;
};
