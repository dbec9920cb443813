#pragma once

#include <QStyledItemDelegate>

class QAbstractItemView;

// Draws the order panel's line rows: the focused row on #FFF1C5, the others on
// white, returned lines (status 8) greyed whatever their focus; each cell trimmed,
// on one line, 6 pixels in, cut with an ellipsis; a red line under every row.
class OrderLineDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    // Role of column 0 holding the line's raw status.
    static constexpr int StatRole = Qt::UserRole + 1;
    static constexpr int RowHeight = 32;

    explicit OrderLineDelegate(QAbstractItemView *view);

    void paint(QPainter *painter,
               const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // Colours a row is drawn with.
    struct RowColours
    {
        QColor background;
        QColor text;
    };
    static RowColours colours(bool focused, const QString &stat);

private:
    QAbstractItemView *m_view;
};
