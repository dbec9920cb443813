#pragma once

#include "masterdata/ui/list_screen.h"

class ChoiceBox;
class QLineEdit;

// "桌位管理": the dining tables. Every save and delete is announced by the core
// (areas_changed); the board rebuilds its tiles from it.
class TForm_desk : public ListScreen
{
    Q_OBJECT
public:
    TForm_desk(Forms &forms, QWidget *parent);

    // The area choices, reloaded when the areas change; the choice made stays.
    void load_desk_class();
    void choose_combox(const QString &area_id);

protected:
    void show_step() override;
    void set_edit(int isedit, const QString &id) override;
    void save() override;
    void mydel(const QString &id) override;

private:
    QLineEdit *m_name = nullptr; // LabeledEdit2
    QLineEdit *m_bh = nullptr;   // LabeledEdit3
    QLineEdit *m_sort = nullptr; // LabeledEdit4
    ChoiceBox *m_area = nullptr; // ComboBox1
};
