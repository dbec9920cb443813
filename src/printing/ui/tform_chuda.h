#pragma once

#include "app/ui/mivo_dialog.h"

class QPushButton;
class QRadioButton;

// "厨打选择": prints the kitchen ticket of one order, with the lines of one status
// or all of them.
class TForm_chuda : public MivoDialog
{
    Q_OBJECT
public:
    TForm_chuda(Forms &forms, QWidget *parent);

    // Prints for this table and order (empty or "0": the table's open order) until
    // the next opening, whatever the board selects meanwhile.
    void open_with(const QString &desk_id, const QString &order_id);
    // The guests moved with their open order: the ticket follows them to the new
    // table. A past order stays with the table it was served at.
    void follow_desk_transfer(const QString &from_id, const QString &to_id);

    // The table, its number and the order to print for.
    QString mydeskid;
    QString mydekno;
    QString myrootid;

private:
    void print_click();

    QRadioButton *m_new = nullptr;
    QRadioButton *m_served = nullptr;
    QRadioButton *m_returned = nullptr;
    QRadioButton *m_all = nullptr;
    QPushButton *m_button = nullptr;
};
