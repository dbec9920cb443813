#pragma once

#include <QString>

// The amounts staff type at the counter. Each check returns the cleaned value or
// the refusal that tells what is allowed; a refused input is never saved as
// something else.
struct CheckedNumber
{
    QString refusal; // empty when accepted
    double value = 0;

    bool ok() const { return refusal.isEmpty(); }
    qint64 whole() const { return qint64(value); }
};

inline const QString DepositRefusal = QStringLiteral("押金请输入不小于0的数字，最多两位小数");
inline const QString GuestsRefusal = QStringLiteral("用餐人数请输入0到999的整数");
inline const QString UnitPriceRefusal
    = QStringLiteral("单价请输入数字（最多一个小数点），不超过99999.99");
inline const QString QuantityRefusal = QStringLiteral("数量请输入1到9999的整数");

// Deposit: a number from 0 with at most two decimals; empty is 0.
CheckedNumber check_deposit(const QString &text);
// Guests: a whole number from 0 to 999; empty is 0.
CheckedNumber check_guests(const QString &text);
// Unit price: digits with at most one point, up to 99999.99. A price below 0.01
// counts as 0, as the price rules always had it.
CheckedNumber check_unit_price(const QString &text);
// Quantity: a whole number from 1 to MaxQuantity.
inline constexpr qint64 MaxQuantity = 9999;
CheckedNumber check_quantity(const QString &text);
