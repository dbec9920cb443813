#pragma once

#include "board/board.h"

#include <QFrame>

class QLabel;

// One table on the board: "desklist_groupbox_" + id with its guests, area name,
// opening time, status and amount ("desklist_groupbox_static1_" .. "static5_").
// It reports a click on itself or on any of its texts.
class DeskTile : public QFrame
{
    Q_OBJECT
public:
    DeskTile(QWidget *parent, const DeskRecord &record);

    const DeskRecord &record() const { return m_record; }
    // New texts from the table's row; the colours stay until show_status, and the
    // amount's colour as it was built.
    void set_record(const DeskRecord &record);
    // Paints the tile in the colour of its record's status, unless it is selected.
    void show_status() { paint(); }
    void set_amount(const QString &bh, const QString &price);
    // Highlighted as the board's selection, or in the colour of its status.
    void set_selected(bool selected);
    bool selected() const { return m_selected; }

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void paint();

    DeskRecord m_record;
    bool m_selected = false;
    // What the amount text was made of.
    bool m_amount_set = false;
    QString m_amount_bh;
    QString m_amount_price;
    QLabel *m_label[5] = {};
};
