#include "printing/receipt_payments.h"

#include "app/helpers.h"
#include "checkout/checkout.h"
#include "checkout/pay_methods.h"
#include "checkout/payment_parts.h"
#include "store/sqlite_db.h"

QStringList receipt_payment_rows(TSQLiteDatabase &db,
                                 const QString &order_id,
                                 const QString &desk_id,
                                 bool settled)
{
    QStringList rows;
    const QVector<PaymentPart> parts = order_parts(db, order_id);
    if (!settled) {
        const qint64 deposit = cents_half_up(num_value(
            db.scalar(QStringLiteral("SELECT yj FROM lumo_desk where id=?"), {desk_id}).trimmed()));
        if (deposit > 0)
            rows << QStringLiteral("开台押金：") + fen_money(deposit);
        for (const PaymentPart &p : parts)
            if (p.stat == PartReceived)
                rows << QStringLiteral("已收款项：%1 %2")
                            .arg(part_method_name(p.paytype), fen_money(p.amount_fen));
        return rows;
    }
    const std::optional<BillFacts> facts = read_bill_facts(db, order_id);
    if (!facts)
        return rows;
    if (facts->discount_fen != 0)
        rows << QStringLiteral("会员折扣：-") + fen_money(facts->discount_fen);
    if (facts->reduction_fen > 0)
        rows << QStringLiteral("减免金额：-") + fen_money(facts->reduction_fen);
    else if (facts->reduction_fen < 0)
        rows << QStringLiteral("减免金额：+") + fen_money(-facts->reduction_fen);
    if (facts->deposit_fen > 0)
        rows << QStringLiteral("开台押金：") + fen_money(facts->deposit_fen);
    qint64 balance_used = 0;
    for (const PaymentPart &p : parts) {
        if (p.stat != PartSettled)
            continue;
        if (p.paytype == PayMemberBalance) {
            balance_used += p.amount_fen;
            continue;
        }
        if (p.note == DepositNote) {
            rows << DepositNote + QStringLiteral("：") + fen_money(p.amount_fen);
            continue;
        }
        rows << QStringLiteral("%1支付：%2")
                    .arg(part_method_name(p.paytype), fen_money(p.amount_fen));
        if (p.paytype == CashMethod && p.given_fen > 0) {
            rows << QStringLiteral("实收现金：") + fen_money(p.given_fen);
            rows << QStringLiteral("找零：") + fen_money(p.given_fen - p.amount_fen);
        }
    }
    if (balance_used > 0) {
        rows << QStringLiteral("余额支付：") + fen_money(balance_used);
        rows << QStringLiteral("会员余额：") + fen_money(facts->balance_left_fen);
    }
    return rows;
}
