#pragma once

#include "masterdata/ui/list_screen.h"

class QLabel;
class QLineEdit;

// "会员管理": members with their discount and prepaid balance. The "充值" cell
// opens the recharge window for the row's member.
class TForm_member : public ListScreen
{
    Q_OBJECT
public:
    TForm_member(Forms &forms, QWidget *parent);

    // After a recharge or a bill paid from a balance: while shown, the list and the
    // edited member's balance are read again; the typed fields stay.
    void follow_balance_change();

protected:
    void set_edit(int isedit, const QString &id) override;
    void save() override;
    void mydel(const QString &id) override;
    void action_click(int column, const QString &id) override;
    // Each showing reads the list and the edited member's balance again: payments
    // from the balance made while the window was hidden show.
    void show_step() override;

private:
    void reload_balance();

    QLineEdit *m_mobile = nullptr;   // LabeledEdit2
    QLineEdit *m_name = nullptr;     // LabeledEdit3
    QLineEdit *m_discount = nullptr; // LabeledEdit4
    QLabel *m_balance = nullptr;     // Label3
};
