#pragma once

#include <QFont>
#include <QHash>
#include <QStyledItemDelegate>

#include <memory>

class QAbstractItemView;
class QTextLayout;

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
    ~OrderLineDelegate() override;

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

    // Cell texts laid out and kept for the next repaint (tests look at it).
    int kept_layouts() const { return int(m_layouts.size()); }

private:
    // A cell text cut to a width and laid out once: shaping the same dish names, prices
    // and states again on every repaint was most of a tile click's cost.
    const QTextLayout *
    laid_out(const QString &text, int width, const QStyleOptionViewItem &option) const;

    QAbstractItemView *m_view;
    mutable QFont m_font; // the font the cached layouts were made with
    mutable QHash<QPair<QString, int>, std::shared_ptr<QTextLayout>> m_layouts;
};
