#pragma once

#include <QByteArray>
#include <QPoint>
#include <QString>
#include <QVector>

// The payment methods every payment screen offers, in the order they are shown.
// A method's id is what a settled order or a recharge stores as its pay type.

struct PayMethod
{
    QString id;
    QString title;
};

// The fixed list as a JSON array of {"id","title"} objects.
QByteArray pay_methods_json();
// The same list read back in array order.
QVector<PayMethod> pay_methods();

// Online QR payments; every other method settles at once.
inline const QString PayWeChatOnline = QStringLiteral("1");
inline const QString PayAlipayOnline = QStringLiteral("2");
// Stored when the member's balance pays the whole bill; not a method of its own.
inline const QString PayMemberBalance = QStringLiteral("9");

bool is_online_method(const QString &id);

// Whether the button of the method at list position index starts checked, given the
// configured default method: none configured checks "微信(直接结算)" (index 2); a
// configured id checks that method, and an id outside the list checks none.
bool pay_method_checked(int index, const QString &id, const QString &defaultpay);

// Where the button of list position index sits in its box: two columns, 30 px rows.
QPoint pay_button_pos(int index);
