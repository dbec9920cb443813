#include "board/ui/order_line_delegate.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QTextLayout>

namespace {

// Enough for the lines of many tables; past it the cache starts again.
constexpr int MaxLayouts = 2000;

// Texts a one-line drawText turns into something else (line breaks, tabs): drawn the
// plain way, so they look exactly as before.
bool plain_text(const QString &text)
{
    for (const QChar c : text)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line
            || c.category() == QChar::Separator_Paragraph)
            return false;
    return true;
}

} // namespace

OrderLineDelegate::OrderLineDelegate(QAbstractItemView *view)
    : QStyledItemDelegate(view)
    , m_view(view)
{}

OrderLineDelegate::~OrderLineDelegate() = default;

OrderLineDelegate::RowColours OrderLineDelegate::colours(bool focused, const QString &stat)
{
    if (stat.trimmed() == QLatin1String("8"))
        return {QColor(0xF2, 0xF2, 0xF2), QColor(0x33, 0x33, 0x33)};
    return {focused ? QColor(0xFF, 0xF1, 0xC5) : QColor(Qt::white), QColor(Qt::black)};
}

const QTextLayout *OrderLineDelegate::laid_out(const QString &text,
                                               int width,
                                               const QStyleOptionViewItem &option) const
{
    if (option.font != m_font || m_layouts.size() >= MaxLayouts) {
        m_layouts.clear();
        m_font = option.font;
    }
    std::shared_ptr<QTextLayout> &slot = m_layouts[qMakePair(text, width)];
    if (!slot) {
        // As a one-line drawText lays it out: one line, no wrapping, at the top.
        const QString elided = option.fontMetrics.elidedText(text, Qt::ElideRight, width);
        slot = std::make_shared<QTextLayout>(elided, option.font, m_view->viewport());
        slot->setCacheEnabled(true);
        QTextOption o;
        o.setWrapMode(QTextOption::NoWrap);
        o.setTextDirection(Qt::LeftToRight);
        o.setFlags(QTextOption::IncludeTrailingSpaces);
        slot->setTextOption(o);
        slot->beginLayout();
        QTextLine line = slot->createLine();
        if (line.isValid()) {
            line.setLineWidth(0x01000000);
            line.setPosition(QPointF(0, 0));
        }
        slot->endLayout();
    }
    return slot.get();
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
    const QString trimmed = index.data().toString().trimmed();
    if (painter->device() == m_view->viewport() && option.direction == Qt::LeftToRight
        && plain_text(trimmed)) {
        const QTextLayout *layout = laid_out(trimmed, textRect.width(), option);
        if (layout->lineCount() == 1) {
            const QTextLine line = layout->lineAt(0);
            // Centred as drawText centres it (on the unrounded line height), and clipped
            // where drawText would clip.
            const qreal height = line.ascent() + line.descent();
            const QRectF bounds(textRect.x(),
                                textRect.y() + (textRect.height() - height) / 2,
                                line.naturalTextWidth(),
                                height);
            const bool clip = !QRectF(textRect).contains(bounds);
            if (clip) {
                painter->save();
                painter->setClipRect(textRect, Qt::IntersectClip);
            }
            layout->draw(painter, bounds.topLeft());
            if (clip)
                painter->restore();
        }
    } else {
        const QString text
            = option.fontMetrics.elidedText(trimmed, Qt::ElideRight, textRect.width());
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    }
    painter->setPen(QPen(Qt::red, 1));
    painter->drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    painter->restore();
}

QSize OrderLineDelegate::sizeHint(const QStyleOptionViewItem &option,
                                  const QModelIndex &index) const
{
    return QSize(QStyledItemDelegate::sizeHint(option, index).width(), RowHeight);
}
