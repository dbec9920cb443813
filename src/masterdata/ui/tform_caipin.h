#pragma once

#include "masterdata/dish_rules.h"
#include "masterdata/ui/list_screen.h"

class ChoiceBox;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QScrollArea;

// "菜品管理": the dishes with their categories and cooking methods. Every save and
// delete is announced by the core (dishes_changed); the ordering screen rebuilds its
// tiles from it.
class TForm_caipin : public ListScreen
{
    Q_OBJECT
public:
    TForm_caipin(Forms &forms, QWidget *parent);

    // The category choices, reloaded when the categories change; the choice stays.
    void load_caipin_class();
    void choose_combox(const QString &category_id);
    // Discards the cooking-method box and creates an empty one.
    void set_group();
    // Adds rows to the method box; refused with "最多只能设置10种做法" when it already
    // holds 10 (the limit is tested once, so a dish with more stored shows them all).
    void add_method_rows(const QVector<MethodEntry> &methods);
    // The rows of the method box in layout order.
    QVector<MethodEntry> method_rows() const;

protected:
    void show_step() override;
    void set_edit(int isedit, const QString &id) override;
    void save() override;
    void mydel(const QString &id) override;
    QColor row_text_colour(int row) const override;

private:
    struct MethodRow
    {
        int serial = 0;
        QString row_id; // stored id, empty for a new row
        QLineEdit *edit = nullptr;
        QLabel *label = nullptr;
        QWidget *button = nullptr;
    };
    void remove_method_row(int serial);
    void layout_methods();

    QLineEdit *m_name = nullptr;     // LabeledEdit4
    QLineEdit *m_price = nullptr;    // LabeledEdit2
    QLineEdit *m_stock = nullptr;    // LabeledEdit3
    QLineEdit *m_sort = nullptr;     // LabeledEdit5
    ChoiceBox *m_category = nullptr; // ComboBox1
    QCheckBox *m_discount = nullptr; // CheckBox1
    QGroupBox *m_methods = nullptr;  // "菜品做法设置"
    QScrollArea *m_method_scroll = nullptr;
    QWidget *m_method_rows = nullptr;
    QVector<MethodRow> m_rows;
    int m_next_serial = 1;
};
