#pragma once

#include "app/ui/desk_dialog.h"

class QGroupBox;
class QPushButton;
class QScrollArea;

// "餐桌转台": moves a table's guests and open order to a free table.
class TForm_desk_zhuantai : public DeskDialog
{
    Q_OBJECT
public:
    TForm_desk_zhuantai(Forms &forms, QWidget *parent);

    // Lists the tables (again, when already visible) and moves the guests of this table.
    void open_with(const QString &desk_id, const QString &order_id);
    // Rebuilds the list of tables inside "关联桌号".
    void load_desk_list();
    // A table changed: the list shows the statuses as they are now, keeping the choice
    // while that table is still free.
    void follow_desk_change();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void zhuantai_click();
    QString chosen_target() const;

    QGroupBox *m_group = nullptr;
    QScrollArea *m_scroll = nullptr;
    QWidget *m_list = nullptr; // the radio buttons, scrolled inside the group
    QPushButton *m_button = nullptr;
};
