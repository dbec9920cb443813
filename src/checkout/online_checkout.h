#pragma once

#include "app/context.h"
#include "checkout/qrpay.h"

// The create request of a checkout's online payment: the payable amount, the order
// amount and the title of the order's first line (empty when it has none).
PayRequest checkout_pay_request(AppContext &ctx,
                                const QString &order_id,
                                const QString &method,
                                double payprice,
                                double allprice);

// Keeps the service's order number on the order it pays, when that order still exists.
void record_checkout_ordid(AppContext &ctx, const QString &order_id, const QString &ordid);

// True while the order is not settled yet.
bool order_still_open(AppContext &ctx, const QString &order_id);

// Said when the service reports a payment for an order that was settled meanwhile.
QString settled_meanwhile_message();

// Empty when a paid report may settle the bill of asked yuan: it names no amount, or
// the same one to the fen. Otherwise the warning for the cashier: the report is of
// another payment (or of none the service knows), and nothing is settled on it.
QString paid_amount_refusal(const QString &reported_price, double asked);
