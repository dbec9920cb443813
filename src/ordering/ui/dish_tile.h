#pragma once

#include "ordering/dish_grid.h"

#include <QColor>
#include <QFrame>
#include <QStaticText>

class QLabel;

// A box that reports a click on itself or on any of its texts.
class ClickFrame : public QFrame
{
    Q_OBJECT
public:
    explicit ClickFrame(QWidget *parent);

    void setColour(const QColor &colour);
    QColor colour() const;
    // A one-pixel outline, so a box in the dialog's own grey still stands out.
    void setBorder(const QColor &colour);
    QColor border() const { return m_border; }

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_border; // invalid: none
};

// One dish on the ordering screen: "box_caipin_" + id with its title, price,
// quantity ("caipin_static3_"), method names ("caipin_static4_") and remark marker
// ("box_bz_"). It carries the tile record. The screen keeps tiles for one page
// only and gives them the dishes of the page it shows.
class DishTile : public ClickFrame
{
    Q_OBJECT
public:
    static inline const QColor Normal{204, 255, 204};
    static inline const QColor Selected{245, 121, 255};
    static constexpr int MarkerShown = -3;
    static constexpr int MarkerHidden = -50;

    // A tile for no dish yet: no names, no texts.
    explicit DishTile(QWidget *parent);
    DishTile(QWidget *parent, const TileRecord &record);

    // Shows this dish with its choices: names, texts, colour and marker follow it.
    void setRecord(const TileRecord &record);
    // Back to no dish (an unused tile of the page keeps no dish's names).
    void clearRecord();

    const TileRecord &record() const { return m_record; }
    QString recordText() const { return m_record.encode(); }

    void setSelected(bool selected);
    // Quantity, methods and remark into the record and onto the texts.
    void setChoices(const QString &quantity,
                    const QString &zfid,
                    const QString &zfidstr,
                    const QString &remark);
    // Back to the state of a freshly built tile.
    void resetChoices();

    QLabel *quantityText() const { return m_quantity; }
    QLabel *methodsText() const { return m_methods; }
    QLabel *remarkMarker() const { return m_marker; }
    // The two fixed texts: the title and the price "%.2f".
    QString titleText() const { return m_title.text(); }
    QString priceText() const { return m_price.text(); }

protected:
    // Title and price are drawn by the tile itself: a page of tiles shows and
    // paints far faster with two labels fewer on each.
    void paintEvent(QPaintEvent *event) override;

private:
    void showRemark(bool shown);

    TileRecord m_record;
    QStaticText m_title;
    QStaticText m_price;
    QLabel *m_quantity = nullptr;
    QLabel *m_methods = nullptr;
    QLabel *m_marker = nullptr;
};
