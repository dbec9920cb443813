#pragma once

#include "app/ui/desk_dialog.h"
#include "board/desk_state.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "桌位状态": opens, reserves or keeps free a table and edits its guest data.
class TForm_desk_zt : public DeskDialog
{
    Q_OBJECT
public:
    TForm_desk_zt(Forms &forms, QWidget *parent);

    // Shows the table's data (again, when already visible) and acts on that table.
    void open_with(const QString &desk_id, const QString &order_id);
    // Fills the fields from the table the dialog holds.
    void load_desk_info();
    // That table changed: its new data replaces what is shown, unless the change left
    // the shown fields alone (what is being typed then stays).
    void follow_desk_change(const QString &desk_id);
    // The guests of this dialog's table moved: the dialog goes with them.
    void follow_desk_transfer(const QString &from_id, const QString &to_id);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void save_click();
    int chosen_stat() const;
    void show_row(const DeskRow &row);

    QLabel *m_bh = nullptr;
    QLineEdit *m_ydtruename = nullptr;
    QLineEdit *m_yj = nullptr;
    QLineEdit *m_nums = nullptr;
    QLineEdit *m_fwy = nullptr;
    QLineEdit *m_addtime = nullptr;
    QRadioButton *m_free = nullptr;
    QRadioButton *m_open = nullptr;
    QRadioButton *m_reserve = nullptr;
    QPushButton *m_save = nullptr;
    // The shown fields of the row as last filled in.
    QString m_shown;
    QString m_shown_stat; // the status the fields were loaded with
};
