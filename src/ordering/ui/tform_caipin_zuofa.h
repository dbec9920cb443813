#pragma once

#include "app/ui/desk_dialog.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QToolButton;
class QPushButton;
class QScrollArea;

// Quantity, cooking methods and remark of one dish tile of the ordering screen.
// It only rewrites the tile; the choices reach the order when the screen submits.
class TForm_caipin_zuofa : public DeskDialog
{
    Q_OBJECT
public:
    TForm_caipin_zuofa(Forms &forms, QWidget *parent);

    // Takes the ordering screen's current dish of this table, loads it and shows
    // the dialog (again, when already visible).
    void open_with(const QString &desk_id, const QString &order_id);
    QString dish_id() const { return m_dish_id; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void load();
    void save_click();
    void plus_click();
    void minus_click();

    QString m_dish_id;
    QLabel *m_dish_label = nullptr;
    QLabel *m_desk_label = nullptr;
    QToolButton *m_minus = nullptr;
    QLineEdit *m_quantity = nullptr;
    QToolButton *m_plus = nullptr;
    QGroupBox *m_group = nullptr;
    QScrollArea *m_scroll = nullptr; // the methods, inside the group
    QList<QCheckBox *> m_boxes;
    QLineEdit *m_remark = nullptr;
    QPushButton *m_save = nullptr;
};
