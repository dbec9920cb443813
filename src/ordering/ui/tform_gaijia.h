#pragma once

#include "app/ui/desk_dialog.h"

#include <QHash>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Batch price change: unit price, quantity and remark of the chosen order lines,
// then the order's stored total recomputed. Stays open after saving.
class TForm_gaijia : public DeskDialog
{
    Q_OBJECT
public:
    TForm_gaijia(Forms &forms, QWidget *parent);

    // Lists the lines with these ids ("1,2,3") of the table's order and shows the
    // dialog (again, when already visible).
    void open_with(const QString &desk_id, const QString &order_id, const QString &ids);
    QString line_ids() const { return m_ids; }

    // A table changed: when it is this dialog's and its lines now
    // differ from the rows shown, the rows show them as they are (what was typed
    // into the old rows would otherwise be saved over the change).
    void follow_desk_change(const QString &desk_id);

protected:
    void showEvent(QShowEvent *event) override;

private:
    struct Row
    {
        QLineEdit *price = nullptr;
        QLineEdit *quantity = nullptr;
        QLineEdit *remark = nullptr;
        QLabel *subtotal = nullptr;
    };

    void list_lines();
    void recompute_subtotals();
    void save_click();

    QString m_ids;
    QString m_listed; // the lines as listed, to see whether they changed since
    QWidget *m_group = nullptr;
    QPushButton *m_save = nullptr;
    QHash<QString, Row> m_rows;
};
