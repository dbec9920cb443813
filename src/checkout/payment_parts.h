#pragma once

#include "app/context.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

class TSQLiteDatabase;

// A bill paid in parts: several methods, part of the member's balance, the deposit,
// cash with change, a share of the bill, or only some of its lines. Every amount here
// is whole fen; lumo_orders is still written in yuan as an older counter reads it.

enum PartStat {
    PartReceived = 0, // an online part paid while its bill is still open
    PartSettled = 1,  // the bill was settled with it
    PartRefunded = 2, // given back to the guest at the counter
};

struct PaymentPart
{
    qint64 id = 0;   // the stored row; 0 for a part not written yet
    QString paytype; // a method id 1-7, or "9" for the member's balance
    qint64 amount_fen = 0;
    qint64 given_fen = 0; // cash handed over for a cash part; 0 when not typed
    QString note;         // DepositNote for the deposit taken off the bill
    QString ordid;        // the payment service's order number of an online part
    int stat = PartSettled;
    qint64 addtime = 0;
};

inline PaymentPart make_part(const QString &paytype, qint64 amount_fen)
{
    PaymentPart p;
    p.paytype = paytype;
    p.amount_fen = amount_fen;
    return p;
}

inline const QString DepositNote = QStringLiteral("押金抵扣");
inline const QString CashMethod = QStringLiteral("5");
inline const QString OtherMethod = QStringLiteral("7");

// The method as the guest reads it on a receipt: "现金", "银行卡", "会员余额", ...
QString part_method_name(const QString &paytype);
// Whole fen of an amount in yuan, half a fen away from zero.
qint64 fen_of_yuan(double yuan);
QString fen_money(qint64 fen); // "12.34"
// A typed amount in yuan as fen; empty when it is no plain positive amount with at
// most two decimals.
std::optional<qint64> parse_fen(const QString &text);

// ---- cash given ----

struct CashGiven
{
    bool ok = false;
    qint64 given_fen = 0;
    qint64 change_fen = 0;
    QString message; // why it is refused
};
inline const QString CashGivenWrongText = QStringLiteral("实收现金输入错误");
inline const QString CashGivenShortText = QStringLiteral("实收现金少于应收金额");
// The cash handed over for a cash part of part_fen: empty means exactly the part.
CashGiven cash_given(qint64 part_fen, const QString &given_text);

// ---- equal shares ----

// total_fen in n shares that differ by at most one fen and add up to it exactly; the
// first shares carry the odd fen. Empty for n < 1.
QVector<qint64> equal_shares(qint64 total_fen, int n);

// ---- the bill to pay ----

struct PartsBill
{
    bool open = false;
    QString desk_id;
    qint64 allprice_fen = 0;       // live lines before the discount
    qint64 discount_fen = 0;       // the member's discount off the discountable part
    qint64 reduction_fen = 0;      // the reduction typed in (negative: a surcharge)
    qint64 payable_fen = 0;        // what the parts must come to; negative: reduction too big
    qint64 deposit_fen = 0;        // the table's deposit
    QVector<PaymentPart> received; // online parts already paid for this bill
    qint64 received_fen = 0;
};

// The bill of the open order, or of the given live lines of it alone, after the
// discount and reduction typed in.
PartsBill read_parts_bill(AppContext &ctx,
                          const QString &order_id,
                          const QString &discount,
                          const QString &reduction,
                          const QStringList &line_ids = {});

// ---- settling with parts ----

struct PartsRequest
{
    QString order_id;
    QString member_id; // who pays the balance parts
    QString discount;
    QString reduction;
    // The parts paid at the counter; online parts come from what was received.
    QVector<PaymentPart> parts;
    // Only these lines are paid, as an order of their own; empty: the whole bill.
    QStringList line_ids;
    // What the cashier saw to pay; a bill changed since is not settled.
    std::optional<qint64> shown_payable_fen;
};

struct PartsResult
{
    enum Outcome {
        Done,
        Mismatch,      // the parts do not add up to the bill
        Negative,      // the reduction exceeds the amount
        OrderGone,     // settled elsewhere or gone meanwhile
        AmountChanged, // the bill differs from the one shown
        BalanceShort,  // the balance does not cover its parts
        MemberGone,    // no member for the balance parts
        DepositShort,  // more taken off than the deposit
        CashShort,     // less cash handed over than its part
        BadPart,       // a method that cannot be a part here, or an amount of 0
        BadLines,      // chosen lines not live lines of the order
        Failed,        // the table is gone, or the store failed
    };
    Outcome outcome = Failed;
    QString message;
    QString error; // after a store failure
    QString desk_id;
    QString order_id;    // the settled order (a new one when only some lines were paid)
    QString paytype;     // as stored in lumo_orders
    qint64 cash_fen = 0; // cash parts taken in, for the cash drawer
    qint64 change_fen = 0;
    bool ok() const { return outcome == Done; }
};

inline const QString PartsMismatchText = QStringLiteral("支付金额合计与应付金额不符");
inline const QString DepositShortText = QStringLiteral("押金抵扣超过开台押金");
inline const QString BadPartText = QStringLiteral("支付方式或金额错误");
inline const QString BadLinesText = QStringLiteral("所选菜品不能分单结账");
inline const QString ReceivedTooMuchText = QStringLiteral("已收款项超过应付金额，请先退款");

// Settles the bill when its received online parts and the parts given here come to
// the payable amount exactly, to the fen; otherwise writes nothing. With line_ids the
// chosen lines move to a new settled order and the table keeps its open order with
// the rest. One transaction; the notifier hears after it commits.
PartsResult settle_with_parts(AppContext &ctx, const PartsRequest &request);

// The columns lumo_orders gets from the parts: the method of the largest part that
// is not the balance (the first of equal ones), "9" when only the balance paid.
struct OrderPayColumns
{
    QString paytype;
    qint64 price_fen = 0;   // every part but the balance
    qint64 balance_fen = 0; // the balance parts
};
OrderPayColumns order_pay_columns(const QVector<PaymentPart> &parts);

// Writes the parts of an order settled now (stat 1).
void write_parts(TSQLiteDatabase &db,
                 const AppContext &ctx,
                 const QString &order_id,
                 const QVector<PaymentPart> &parts,
                 qint64 now);

// What the receipt of a settled bill shows besides its parts.
struct BillFacts
{
    qint64 allprice_fen = 0;
    qint64 discount_fen = 0;
    qint64 reduction_fen = 0;
    qint64 deposit_fen = 0;
    QString member_id; // empty when no member paid from the balance
    qint64 balance_left_fen = 0;
};
void write_bill_facts(TSQLiteDatabase &db,
                      const AppContext &ctx,
                      const QString &order_id,
                      const BillFacts &facts,
                      qint64 now);
// The facts of a settled bill; nullopt for one settled by an older counter.
std::optional<BillFacts> read_bill_facts(TSQLiteDatabase &db, const QString &order_id);

// ---- online parts ----

// Keeps an online part the service reported paid on its bill at once, whatever
// happens to the bill after; false when the order does not exist.
bool record_received_part(AppContext &ctx,
                          const QString &order_id,
                          const QString &paytype,
                          qint64 amount_fen,
                          const QString &ordid);

// Received parts waiting for their bill or to be given back ("已收款项"); of one
// order, or of every order when order_id is empty.
struct ReceivedPart
{
    PaymentPart part;
    QString order_id;
    QString bh;           // the table of its order
    bool settled = false; // its order was settled some other way meanwhile
};
QVector<ReceivedPart> received_parts(const AppContext &ctx, const QString &order_id = {});
// The received part was given back to the guest; false when it is no longer waiting.
bool refund_received_part(AppContext &ctx, qint64 part_id);

// Every part of an order as stored, in the order written.
QVector<PaymentPart> order_parts(TSQLiteDatabase &db, const QString &order_id);
