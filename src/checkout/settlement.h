#pragma once

#include "app/context.h"

#include <QString>

#include <optional>

// Settling one open order: its lines and the order marked settled with the amount
// charged, the table it belongs to freed, the member's balance charged. All of it
// happens in one transaction or not at all.

struct SettleRequest
{
    QString order_id;
    QString paytype;   // the chosen method's id (or the pay type an online payment reports)
    QString member_id; // the looked-up member; empty when none
    // The checkout's input fields as typed.
    QString deduction;
    QString discount;
    QString reduction;
    // The payable amount the cashier saw; when given, a bill that has changed
    // since (lines added or returned at another counter) is not settled.
    std::optional<double> shown_payprice;
};

struct SettleResult
{
    enum Outcome {
        Done,
        Negative,      // the reduction exceeds the amount
        OrderGone,     // settled elsewhere or deleted meanwhile
        BalanceShort,  // the member's balance no longer covers the deduction
        MemberGone,    // the member paying from the balance was deleted
        AmountChanged, // the bill differs from the one shown
        Failed,        // the table is gone, or the store failed
        SignedOut,     // nobody is signed in at this counter
    };
    Outcome outcome = Failed;
    QString message;  // the toast: "结算成功" or why nothing was written
    QString error;    // after a store failure: what the cashier reads (store_failure_text)
    QString desk_id;  // the table the order belonged to
    QString paytype;  // as stored
    double price = 0; // as stored
    bool ok() const { return outcome == Done; }
};

inline const QString SettledText = QStringLiteral("结算成功");
inline const QString SettleFailedText = QStringLiteral("结算失败");
inline const QString OrderGoneText = QStringLiteral("此订单已结算或已删除，无法结算");
inline const QString AmountChangedText = QStringLiteral("订单金额已变化，请核对后重新结算");

SettleResult settle_order(AppContext &ctx, const SettleRequest &request);
