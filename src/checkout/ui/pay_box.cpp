#include "checkout/ui/pay_box.h"

#include "checkout/pay_methods.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>

QGroupBox *setpaybutton(QWidget *parent,
                        QGroupBox *previous,
                        const QString &caption,
                        const QPoint &pos,
                        const QString &defaultpay)
{
    if (previous) {
        // Out of sight and out of findChild at once; deleted when the event loop is free.
        previous->hide();
        previous->setObjectName(QString());
        previous->setParent(nullptr);
        previous->deleteLater();
    }
    auto *box = new QGroupBox(caption, parent);
    box->setObjectName(QStringLiteral("paybox"));
    box->setGeometry(pos.x(), pos.y(), 330, 164);
    auto *group = new QButtonGroup(box);
    group->setExclusive(true);
    const QVector<PayMethod> list = pay_methods();
    for (int i = 0; i < list.size(); ++i) {
        auto *b = new QRadioButton(list[i].title, box);
        b->setObjectName(QStringLiteral("pay_radio_") + list[i].id);
        b->setProperty(PayIdProperty, list[i].id);
        b->move(pay_button_pos(i));
        b->resize(160, 17);
        b->setCursor(Qt::PointingHandCursor);
        group->addButton(b);
        if (pay_method_checked(i, list[i].id, defaultpay))
            b->setChecked(true);
    }
    box->show();
    return box;
}

QString checked_pay_id(const QGroupBox *box)
{
    if (!box)
        return {};
    for (const QRadioButton *b : box->findChildren<QRadioButton *>())
        if (b->isChecked())
            return b->property(PayIdProperty).toString();
    return {};
}
