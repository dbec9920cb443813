#pragma once

#include "app/context.h"

#include <QString>

struct RechargeMember
{
    QString id;
    QString mobile;
    QString truename;
};

// The member as stored; id empty when there is no such member.
RechargeMember read_recharge_member(const AppContext &ctx, const QString &uid);

// Empty when the amount text may be recharged; otherwise the toast that refuses it.
QString recharge_amount_refusal(const QString &amount);
// Confirmation asked before a recharge of the amount as typed.
QString recharge_question(const QString &amount);

// An offline recharge: credits the member and records a settled recharge row with the
// pay type, in one transaction. False when there is no member id, the member is gone or
// nobody is signed in.
bool set_vip_balance(AppContext &ctx,
                     const QString &uid,
                     const QString &paytype,
                     const QString &amount);

// The recharge row of an online payment the service has created; stat 0 until paid.
void insert_pending_recharge(AppContext &ctx, const QString &ordid, const QString &amount);

enum class OnlineCredit {
    Credited,
    AlreadyCredited, // the pending row is gone or no longer stat 0
    NoMember,
    BadPrice,
    SignedOut, // nobody is signed in at this counter
};

// The service reported the online recharge paid: credits the reported price and marks
// the pending row paid with the reported pay type, in one transaction, only while
// that row is still pending, so a second report credits nothing.
OnlineCredit complete_online_recharge(AppContext &ctx,
                                      const QString &uid,
                                      const QString &ordid,
                                      const QString &paytype,
                                      const QString &price);
// What the recharge dialog says about a completion other than Credited.
QString online_credit_message(OnlineCredit result);
// Empty when the service reports paid what was asked for (to the fen); otherwise the
// warning that names both amounts, so the counter sees the difference credited.
QString paid_amount_notice(const QString &asked, const QString &paid);
