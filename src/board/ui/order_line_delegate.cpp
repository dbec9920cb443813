#include "board/ui/order_line_delegate.h"

#include <QAbstractItemView>
#include <QPainter>

OrderLineDelegate::OrderLineDelegate(QAbstractItemView *view)
    : QStyledItemDelegate(view)
    , m_view(view)
{}

OrderLineDelegate::RowColours OrderLineDelegate::colours(bool focused, const QString &stat)
{
    if (stat.trimmed() == QLatin1String("8"))
        return {QColor(0xF2, 0xF2, 0xF2), QColor(0x33, 0x33, 0x33)};
    return {focused ? QColor(0xFF, 0xF1, 0xC5) : QColor(Qt::white), QColor(Qt::black)};
}

void OrderLineDelegate::paint(QPainter *painter,
                              const QStyleOptionViewItem &option,
                              const QModelIndex &index) const
{
    const QModelIndex first = index.siblingAtColumn(0);
    const bool focused
        = m_view->currentIndex().isValid() && m_view->currentIndex().row() == index.row();
    const RowColours c = colours(focused, first.data(StatRole).toString());
    const QRect r = option.rect;

    painter->save();
    painter->fillRect(r, c.background);
    painter->setPen(c.text);
    painter->setFont(option.font);
    const QRect textRect = r.adjusted(6, 0, 0, 0);
    const QString text = option.fontMetrics.elidedText(
        index.data().toString().trimmed(), Qt::ElideRight, textRect.width());
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    painter->setPen(QPen(Qt::red, 1));
    painter->drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    painter->restore();
}

QSize OrderLineDelegate::sizeHint(const QStyleOptionViewItem &option,
                                  const QModelIndex &index) const
{
    return QSize(QStyledItemDelegate::sizeHint(option, index).width(), RowHeight);
}
