#pragma once

#include <QString>
#include <QVector>

class TSQLiteDatabase;

// The takings of a period: what the settled dining orders brought in, how, and what
// sold; the member recharges and the tables still eating are kept apart.

// Stored seconds (local wall clock): from is included, to is not.
struct Period
{
    qint64 from = 0;
    qint64 to = 0;
};

enum class PeriodKind { Today, Yesterday, ThisWeek, ThisMonth };

// The day, week (from Monday) or month around now.
Period named_period(PeriodKind kind, qint64 now);
// A range typed by the user, both ends included to the second.
Period free_period(qint64 first_second, qint64 last_second);
// Stored seconds as "yyyy-MM-dd HH:mm:ss".
QString second_text(qint64 seconds);
// "yyyy-MM-dd HH:mm:ss 至 yyyy-MM-dd HH:mm:ss", the last second included.
QString period_text(const Period &period);

struct PayTakings
{
    QString paytype; // as stored
    QString name;    // as the pay-type table shows it
    qint64 count = 0;
    double amount = 0;
};

struct DishSales
{
    QString title;
    QString category; // "未分类" for lines without a dish or category
    qint64 quantity = 0;
    double amount = 0; // unit price x quantity, before the order's discounts
};

struct CategorySales
{
    QString title;
    qint64 quantity = 0;
    double amount = 0;
};

struct OpenTable
{
    QString bh;
    QString title;
    qint64 guests = 0;
    double amount = 0; // the bill's live lines
};

struct TakingsReport
{
    Period period;

    qint64 orders = 0;
    qint64 guests = 0;
    double per_order = 0; // takings per order; 0 without orders
    double per_guest = 0; // takings per guest; 0 without guests

    QVector<PayTakings> takings; // paid other than from a member's balance, by pay type
    qint64 balance_orders = 0;   // orders paid wholly or partly from a balance
    double balance = 0;          // what members' balances paid
    double total = 0;            // takings plus balance

    double allprice = 0;   // the orders' amounts before discounts
    double discounts = 0;  // discounts and reductions given
    double surcharges = 0; // added to bills by a negative reduction

    qint64 returned_lines = 0;
    double returned_value = 0;

    QVector<PayTakings> recharges; // paid member recharges, by pay type
    double recharge_total = 0;

    QVector<DishSales> dishes;         // most sold first
    QVector<CategorySales> categories; // highest amount first
    QVector<OpenTable> open_tables;    // by board order
    double open_total = 0;
};

inline const QString NoCategoryText = QStringLiteral("未分类");

// What the settled dining orders of the period brought in, money and members' balances
// together, to the cent: the board's "已结消费" and the report's total are this figure.
double settled_takings(TSQLiteDatabase &db, const Period &period);

// The report of the period, read in one snapshot of the database.
TakingsReport takings_report(const QString &db_path, const Period &period);
TakingsReport takings_report(TSQLiteDatabase &db, const Period &period);
