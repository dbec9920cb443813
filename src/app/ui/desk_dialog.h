#pragma once

#include "app/ui/mivo_dialog.h"

// A dialog that works on one table and its open order: it is opened with them
// (open_with) and keeps acting on them, whatever the board selects meanwhile. What it
// writes goes through core functions, which announce the change (ctx.notifier()); it
// follows the changes it shows by subscribing there too. A replaced database closes
// it: its table and order may not exist in the new file.
class DeskDialog : public MivoDialog
{
    Q_OBJECT
public:
    DeskDialog(Forms &forms, QWidget *parent);

    QString desk_id() const { return m_desk_id; }
    QString order_id() const { return m_order_id; }

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
