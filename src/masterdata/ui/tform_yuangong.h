#pragma once

#include "masterdata/ui/list_screen.h"

class QComboBox;
class QLineEdit;

// "员工设置": the staff accounts people sign in with. Only account 1 may change
// existing accounts; anyone may add.
class TForm_yuangong : public ListScreen
{
    Q_OBJECT
public:
    TForm_yuangong(Forms &forms, QWidget *parent);

    // Selects the role with this code; an unknown code leaves the selection.
    void choose_combox(const QString &code);

protected:
    void set_edit(int isedit, const QString &id) override;
    void save() override;
    void mydel(const QString &id) override;

private:
    QLineEdit *m_username = nullptr; // LabeledEdit2
    QLineEdit *m_password = nullptr; // LabeledEdit3
    QLineEdit *m_truename = nullptr; // LabeledEdit4
    QComboBox *m_role = nullptr;     // ComboBox1: role names
    QComboBox *m_code = nullptr;     // ComboBox2, hidden: role codes
};
