#include "ordering/ui/dish_tile.h"

#include "app/helpers.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

namespace {

// The remark marker: a small orange note with "备" on it, drawn once and shared.
const QPixmap &marker_pixmap()
{
    static const QPixmap pm = [] {
        QPixmap p(24, 24);
        p.fill(Qt::transparent);
        QPainter g(&p);
        g.setRenderHint(QPainter::Antialiasing);
        g.setPen(Qt::NoPen);
        g.setBrush(QColor(255, 120, 0));
        g.drawRoundedRect(QRectF(1, 1, 22, 22), 5, 5);
        QFont f = g.font();
        f.setPixelSize(14);
        f.setBold(true);
        g.setFont(f);
        g.setPen(Qt::white);
        g.drawText(QRect(0, 0, 24, 24), Qt::AlignCenter, QStringLiteral("备"));
        return p;
    }();
    return pm;
}

const QFont &small_font()
{
    static const QFont f = [] {
        QFont font;
        font.setPointSize(9);
        return font;
    }();
    return f;
}

QLabel *tile_text(QWidget *parent, const QString &text, const QRect &geometry, Qt::Alignment align)
{
    auto *l = new QLabel(text, parent);
    l->setGeometry(geometry);
    l->setAlignment(align);
    return l;
}

} // namespace

ClickFrame::ClickFrame(QWidget *parent)
    : QFrame(parent)
{
    setAutoFillBackground(true);
    setCursor(Qt::PointingHandCursor);
}

void ClickFrame::setColour(const QColor &colour)
{
    if (colour == this->colour())
        return;
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
}

QColor ClickFrame::colour() const
{
    return palette().color(QPalette::Window);
}

void ClickFrame::setBorder(const QColor &colour)
{
    m_border = colour;
    update();
}

void ClickFrame::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    if (!m_border.isValid())
        return;
    QPainter g(this);
    g.setPen(m_border);
    g.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ClickFrame::mousePressEvent(QMouseEvent *event)
{
    // The texts on the box ignore the press, so it reaches the box.
    if (event->button() == Qt::LeftButton) {
        event->accept();
        emit clicked();
        return;
    }
    QFrame::mousePressEvent(event);
}

DishTile::DishTile(QWidget *parent)
    : ClickFrame(parent)
{
    using namespace dish_grid;
    resize(TileWidth, TileHeight);
    setColour(Normal);
    m_title.setTextFormat(Qt::PlainText);
    m_price.setTextFormat(Qt::PlainText);
    m_quantity = tile_text(this, QString(), QRect(5, 42, 55, 16), Qt::AlignLeft | Qt::AlignVCenter);
    m_methods
        = tile_text(this, QString(), QRect(55, 42, 60, 20), Qt::AlignRight | Qt::AlignVCenter);
    m_methods->setFont(small_font());
    m_marker = new QLabel(this);
    m_marker->setPixmap(marker_pixmap());
    m_marker->setGeometry(TileWidth - 26, MarkerHidden, 24, 24);
}

DishTile::DishTile(QWidget *parent, const TileRecord &record)
    : DishTile(parent)
{
    setRecord(record);
}

void DishTile::setRecord(const TileRecord &record)
{
    if (record.id != m_record.id) {
        setObjectName(QStringLiteral("box_caipin_") + record.id);
        m_quantity->setObjectName(QStringLiteral("caipin_static3_") + record.id);
        m_methods->setObjectName(QStringLiteral("caipin_static4_") + record.id);
        m_marker->setObjectName(QStringLiteral("box_bz_") + record.id);
    }
    if (record.title != m_record.title)
        m_title.setText(record.title);
    if (record.price != m_record.price || m_price.text().isEmpty())
        m_price.setText(format_num(record.price, 2));
    m_record = record;
    m_quantity->setText(record.quantity);
    m_methods->setText(record.zfidstr);
    showRemark(!record.remark.isEmpty());
    setColour(record.isSelected() ? Selected : Normal);
    update();
}

void DishTile::clearRecord()
{
    for (QObject *o : {static_cast<QObject *>(this),
                       static_cast<QObject *>(m_quantity),
                       static_cast<QObject *>(m_methods),
                       static_cast<QObject *>(m_marker)})
        o->setObjectName(QString());
    m_record = TileRecord();
    m_record.id.clear();
    m_title.setText(QString());
    m_price.setText(QString());
}

void DishTile::paintEvent(QPaintEvent *event)
{
    ClickFrame::paintEvent(event);
    QPainter g(this);
    g.setPen(palette().color(QPalette::WindowText));
    g.setClipRect(rect());
    const auto centred = [&](const QStaticText &text, int top) {
        g.drawStaticText((width() - qRound(text.size().width())) / 2, top, text);
    };
    centred(m_title, 6);
    centred(m_price, 30);
}

void DishTile::setSelected(bool selected)
{
    m_record.selected = selected ? QStringLiteral("1") : QStringLiteral("0");
    setColour(selected ? Selected : Normal);
}

void DishTile::setChoices(const QString &quantity,
                          const QString &zfid,
                          const QString &zfidstr,
                          const QString &remark)
{
    m_record.quantity = quantity;
    m_record.zfid = zfid;
    m_record.zfidstr = zfidstr;
    m_record.remark = remark;
    m_quantity->setText(quantity);
    m_methods->setText(zfidstr);
    showRemark(!remark.isEmpty());
}

void DishTile::resetChoices()
{
    TileRecord fresh = m_record;
    fresh.resetChoices();
    if (fresh == m_record && colour() == Normal && m_marker->y() == MarkerHidden)
        return; // nothing chosen: leave the widgets alone
    m_record = fresh;
    m_quantity->setText(m_record.quantity);
    m_methods->setText(QString());
    showRemark(false);
    setColour(Normal);
}

void DishTile::showRemark(bool shown)
{
    m_marker->move(dish_grid::TileWidth - 26, shown ? MarkerShown : MarkerHidden);
}
