#pragma once

#include "app/context.h"

#include <QString>
#include <QVector>

class TSQLiteDatabase;

// What the checkout reads and computes: the order's lines, its totals, the payable
// amount from the member discount, reduction and balance deduction, and the member.

// ---- money ----

// Whole cents of an amount, half a cent rounded away from zero, read from the
// amount's decimal digits (so 28.335 gives 2834, not 2833).
qint64 cents_half_up(double yuan);
double round_cents(double yuan);

// ---- totals ----

struct CheckoutTotals
{
    double allprice = 0;      // live lines (status 0-7)
    double allzekouprice = 0; // live lines of dishes that take the discount
};
CheckoutTotals getalprice(TSQLiteDatabase &db, const QString &order_id);
CheckoutTotals getalprice(const AppContext &ctx, const QString &order_id);

// ---- payable amount ----

struct Payable
{
    // Rounded to cents once; negative when the reduction exceeds the amount.
    double payprice = 0;
    // What the bill was lowered by before the balance: order amount less payable
    // before the deduction. Negative for a surcharge.
    double reduction = 0;
    // The balance deduction that counts (0 when none, or more than the balance).
    double deduction = 0;
    // The payable amount before the deduction, the most the balance can pay.
    double before_deduction = 0;
    bool negative() const { return payprice < 0; }
};

// The three input fields as typed. A discount from 1 to below 10 takes effect on
// the discountable part; a reduction lowers the bill, a negative one raises it; a
// deduction counts when it is above 0 and within the balance. prompts, when given,
// warns about a number with several points.
Payable auto_cal(const CheckoutTotals &totals,
                 double allbalance,
                 const QString &deduction,
                 const QString &discount,
                 const QString &reduction,
                 Prompts *prompts = nullptr);

// The reduction as shown: "-9.00" for money off, "+5.00" for a surcharge.
QString reduction_text(double reduction);

// A plain decimal: digits with at most one point (several points warn when prompts is given).
bool is_plain_decimal(const QString &text, Prompts *prompts = nullptr);

inline const QString NegativePayText = QStringLiteral("减免金额超过总订单金额");

// ---- balance deduction field ----

inline const QString DeductionWrongText = QStringLiteral("扣除数据错误");
inline const QString DeductionTooMuchText = QStringLiteral("扣除的金额超过账户余额");
// Empty when the field's text is acceptable (empty counts as 0), otherwise the toast.
QString check_deduction(const QString &text, double allbalance, Prompts *prompts = nullptr);

// ---- member ----

inline const QString MobileWrongText = QStringLiteral("手机号输入错误");
inline const QString MemberMissingText = QStringLiteral("查找的会员信息不存在");

// Eleven digits starting with 1.
bool is_mobile(const QString &text);

struct MemberInfo
{
    bool found = false;
    QString id;
    QString mobile;
    QString truename;
    QString zekou;   // discount in tenths, "%.2f" ("8.50")
    QString balance; // as stored
    double balance_value = 0;
};
MemberInfo get_member_info(const AppContext &ctx, const QString &mobile);

// ---- lines and table ----

struct CheckoutLine
{
    QString number; // "01".."09", "10", ...
    QString id;
    QString title;
    QString zfidstr;
    QString oneprice; // "%.2f"
    QString quantity;
    QString amount; // quantity x unit price, "%.2f"
    QString zk;     // "打折" / "不打折"
    QString stat;   // display name
    QString remark;
    bool returned = false;
};
// Every line of the order, whatever its status, by id.
QVector<CheckoutLine> read_checkout_lines(const AppContext &ctx, const QString &order_id);
int order_line_count(const AppContext &ctx, const QString &order_id);

struct CheckoutDesk
{
    QString bh;
    QString nums;
    QString addtime; // "yyyy-mm-dd hh:mm"
    QString fwy;
};
CheckoutDesk get_desk_info(const AppContext &ctx, const QString &desk_id);

// The table the order belongs to now (a transfer moves it); empty when the order is gone.
QString order_desk_id(const AppContext &ctx, const QString &order_id);
// Whether the order exists and is not settled.
bool order_is_open(const AppContext &ctx, const QString &order_id);
