#include "app/input_checks.h"

#include <QRegularExpression>

#include <cmath>

namespace {

CheckedNumber accepted(double value)
{
    CheckedNumber c;
    c.value = value;
    return c;
}

CheckedNumber refused(const QString &why)
{
    CheckedNumber c;
    c.refusal = why;
    return c;
}

// The value of a text that already matched one of the patterns below; false when
// it is too large to be a finite number.
bool value_of(const QString &text, double *out)
{
    bool ok = false;
    *out = text.toDouble(&ok);
    return ok && std::isfinite(*out);
}

CheckedNumber whole_in(const QString &text, qint64 low, qint64 high, const QString &why)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    const QString t = text.trimmed();
    if (!digits.match(t).hasMatch())
        return refused(why);
    // Leading zeros aside, more than nine digits are above every limit here.
    static const QRegularExpression leadingZeros(QStringLiteral("^0+(?=.)"));
    const QString significant = QString(t).remove(leadingZeros);
    if (significant.size() > 9)
        return refused(why);
    const qint64 v = significant.toLongLong();
    return v >= low && v <= high ? accepted(double(v)) : refused(why);
}

} // namespace

CheckedNumber check_deposit(const QString &text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^([0-9]+(\\.[0-9]{0,2})?|\\.[0-9]{1,2})$"));
    const QString t = text.trimmed();
    if (t.isEmpty())
        return accepted(0);
    double v = 0;
    if (!pattern.match(t).hasMatch() || !value_of(t, &v))
        return refused(DepositRefusal);
    return accepted(v);
}

CheckedNumber check_guests(const QString &text)
{
    if (text.trimmed().isEmpty())
        return accepted(0);
    return whole_in(text, 0, 999, GuestsRefusal);
}

CheckedNumber check_unit_price(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]+\\.?[0-9]*|\\.[0-9]+)$"));
    const QString t = text.trimmed();
    double v = 0;
    if (!pattern.match(t).hasMatch() || !value_of(t, &v) || v > 99999.99)
        return refused(UnitPriceRefusal);
    return accepted(v < 0.01 ? 0.0 : v);
}

CheckedNumber check_quantity(const QString &text)
{
    return whole_in(text, 1, MaxQuantity, QuantityRefusal);
}
