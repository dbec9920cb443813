#pragma once

#include <QPoint>
#include <QString>

class QGroupBox;
class QWidget;

// The payment methods box of every payment screen: a 330 x 164 group box of radio
// buttons, one per method, captioned by its title and tagged with its id.

// Discards previous (may be null) and builds a new box at pos on parent, with the
// button of the default method checked. The buttons are named "pay_radio_<id>".
QGroupBox *setpaybutton(QWidget *parent,
                        QGroupBox *previous,
                        const QString &caption,
                        const QPoint &pos,
                        const QString &defaultpay);

// Id of the checked method; empty when none is checked.
QString checked_pay_id(const QGroupBox *box);

// The property that carries a button's method id.
inline constexpr const char *PayIdProperty = "payid";
