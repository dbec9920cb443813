#pragma once

#include "app/ui/mivo_dialog.h"

// A dialog that works on one table and its open order: it is opened with them
// (open_with) and keeps acting on them, whatever the board selects meanwhile. After
// it changed a table's data it says so with desk_changed, and the main window shows
// that table's new state.
class DeskDialog : public MivoDialog
{
    Q_OBJECT
public:
    using MivoDialog::MivoDialog;

    QString desk_id() const { return m_desk_id; }
    QString order_id() const { return m_order_id; }

signals:
    void desk_changed(const QString &desk_id);

protected:
    // Takes the table and order the dialog now acts on.
    void hold(const QString &desk_id, const QString &order_id)
    {
        m_desk_id = desk_id;
        m_order_id = order_id;
    }

    QString m_desk_id;
    QString m_order_id;
};
