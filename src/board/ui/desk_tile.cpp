#include "board/ui/desk_tile.h"

#include <QLabel>
#include <QMouseEvent>

namespace {

const QString TilePrefix = QStringLiteral("desklist_groupbox_");

void set_window_colour(QWidget *w, const QColor &colour)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, colour);
    w->setPalette(pal);
}

} // namespace

DeskTile::DeskTile(QWidget *parent, const DeskRecord &record)
    : QFrame(parent)
    , m_record(record)
{
    setObjectName(TilePrefix + record.id);
    resize(TileSize, TileSize);
    setCursor(Qt::PointingHandCursor);
    setAutoFillBackground(true);

    const QRect places[5] = {QRect(10, 10, 60, 18),
                             QRect(75, 10, 80, 18),
                             QRect(10, 140, 118, 18),
                             QRect(130, 140, 30, 18),
                             QRect(5, 70, 150, 24)};
    for (int i = 0; i < 5; ++i) {
        auto *l = new QLabel(this);
        l->setObjectName(TilePrefix + QStringLiteral("static%1_").arg(i + 1) + record.id);
        l->setGeometry(places[i]);
        m_label[i] = l;
    }
    m_label[1]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QLabel *amount = m_label[4];
    amount->setAlignment(Qt::AlignCenter);
    QFont f = amount->font();
    f.setPointSize(10);
    amount->setFont(f);
    amount->setAutoFillBackground(true); // opaque, in the tile's colour
    // Decided once, when the tile is built.
    QPalette pal = amount->palette();
    pal.setColor(QPalette::WindowText,
                 tile_amount_green(record.price) ? QColor("#008000") : QColor(Qt::black));
    amount->setPalette(pal);
    set_record(record);
    paint();
}

void DeskTile::set_record(const DeskRecord &r)
{
    m_record = r;
    set_amount(r.bh, r.price);
    m_label[0]->setText(tile_people_text(r));
    m_label[1]->setText(r.cname);
    m_label[2]->setText(format_time(r.addtime));
    m_label[3]->setText(desk_stat_name(r.stat));
}

void DeskTile::set_amount(const QString &bh, const QString &price)
{
    // The sync timer sets every tile's amount; most have not changed.
    if (m_amount_set && bh == m_amount_bh && price == m_amount_price)
        return;
    m_amount_set = true;
    m_amount_bh = bh;
    m_amount_price = price;
    m_label[4]->setText(tile_amount_text(bh, price));
}

void DeskTile::set_selected(bool selected)
{
    m_selected = selected;
    paint();
}

void DeskTile::paint()
{
    const QColor colour(m_selected ? QString::fromLatin1(SelectedColour)
                                   : desk_colour(m_record.stat));
    // The amount's opaque background takes the colour from the tile.
    set_window_colour(this, colour);
}

void DeskTile::mousePressEvent(QMouseEvent *event)
{
    // The texts ignore the press, so it reaches the tile, which then gets the release.
    if (event->button() == Qt::LeftButton) {
        event->accept();
        return;
    }
    QFrame::mousePressEvent(event);
}

void DeskTile::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        event->accept();
        emit clicked();
        return;
    }
    QFrame::mouseReleaseEvent(event);
}
