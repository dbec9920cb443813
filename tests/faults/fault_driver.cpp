// Drives the counter's write paths on a database file, through the same core
// functions the windows call, so the fault tests can kill it at any moment or run two
// of it against one file.
//
//   fault_driver DB crash PATH SEED          loops over one write path until killed
//   fault_driver DB counter TAG SEED OPS FIRST_DISH SETTLE_EVERY DESK...
//                                            a fixed number of operations, each reported
//   fault_driver DB settle ORDER GO_FILE     settles the order once GO_FILE exists
//
// PATH: open, submit, transfer, price, settle, recharge, demo, restore, parts, merge. Prints
// "ready" once the file is open, then (crash) one "." per finished operation or (counter) one
// line per operation.
#include "app/context.h"
#include "app/demo_data.h"
#include "board/clearing.h"
#include "board/desk_state.h"
#include "board/merge.h"
#include "board/transfer.h"
#include "checkout/checkout.h"
#include "checkout/pay_methods.h"
#include "checkout/payment_parts.h"
#include "checkout/recharge.h"
#include "checkout/settlement.h"
#include "ordering/diancan.h"
#include "ordering/orders.h"
#include "ordering/price_change.h"
#include "settings/backup.h"
#include "store/sqlite_db.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Every confirmation is answered OK, as a cashier in a hurry would.
class AlwaysOk : public Prompts
{
public:
    bool confirm(const QString &) override { return true; }
    void information(const QString &) override {}
    void warning(const QString &) override {}
    void error(const QString &) override {}
};

void say(const QString &line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

const QString Member = QStringLiteral("1");

class Driver
{
public:
    Driver(const QString &db, quint32 seed)
        : rng(seed)
    {
        ctx.db_path = db;
        ctx.settings.cwf = QStringLiteral("2.00"); // every opened table gets a tableware line
        ctx.setPrompts(std::make_shared<AlwaysOk>());
        // A cashier is signed in: the writes refuse anyone else.
        ctx.account.uid = 1;
        ctx.account.username = QStringLiteral("admin");
        ctx.account.role = 9;
    }

    QStringList desks(const QString &where) const
    {
        TSQLiteDatabase db(ctx.db_path);
        TSQLiteTable t = db.GetTable(QStringLiteral("SELECT id FROM lumo_desk WHERE ") + where
                                     + QStringLiteral(" ORDER BY id"));
        QStringList out;
        for (; !t.isEof(); t.Next())
            out << t.FieldAsString(0);
        return out;
    }
    QStringList free_desks() const { return desks(QStringLiteral("stat=0")); }
    QStringList open_desks() const { return desks(QStringLiteral("stat IN (1,3)")); }
    QString pick(const QStringList &list) { return list.at(int(rng.bounded(list.size()))); }
    int dish_count() const
    {
        TSQLiteDatabase db(ctx.db_path);
        return db.scalar(QStringLiteral("SELECT count(*) FROM lumo_caipin")).toInt();
    }

    bool open(const QString &desk)
    {
        ctx.desk_id = desk;
        DeskStateForm form;
        form.stat = rng.bounded(4) == 0 ? 3 : 1;
        form.ydtruename = QStringLiteral("王先生");
        form.yj = QString::number(rng.bounded(3) * 50);
        form.nums = QString::number(1 + rng.bounded(6));
        form.fwy = QStringLiteral("小李");
        return save_desk_state(ctx, desk, form).saved;
    }

    CartItem item(int dish, const QString &remark)
    {
        TSQLiteDatabase db(ctx.db_path);
        const TSQLiteTable t = db.GetTable(
            QStringLiteral("SELECT id,title,price,stock FROM lumo_caipin WHERE id=?"), {dish});
        CartItem it{t.value("id"),
                    t.value("title"),
                    t.value("price"),
                    QString::number(1 + rng.bounded(3)),
                    t.value("stock"),
                    {},
                    {},
                    remark};
        if (rng.bounded(2) == 0) {
            const TSQLiteTable m = db.GetTable(
                QStringLiteral("SELECT id,title FROM lumo_caipin_zuofa WHERE rootid=? LIMIT 1"),
                {dish});
            it.zfid = m.value("id");
            it.zfidstr = m.value("title");
        }
        return it;
    }

    SubmitResult submit(const QString &desk, const QVector<CartItem> &items)
    {
        ctx.desk_id = desk;
        return submit_cart(ctx, desk, items);
    }

    // A random open table with lines, opened and ordered for when there is none.
    QString table_with_lines()
    {
        const QStringList ordered = desks(QStringLiteral(
            "stat IN (1,3) AND id IN (SELECT deskid FROM lumo_orders o WHERE tid=0 AND "
            "iscal=0 AND EXISTS (SELECT 1 FROM lumo_orders_detail WHERE rootid=o.id))"));
        if (!ordered.isEmpty())
            return pick(ordered);
        QStringList free = free_desks();
        if (free.isEmpty()) {
            settle(pick(open_desks()), false);
            free = free_desks();
        }
        const QString desk = pick(free);
        open(desk);
        submit(desk, {item(1 + int(rng.bounded(dish_count())), {})});
        return desk;
    }

    SettleResult settle(const QString &desk, bool with_member)
    {
        ctx.desk_id = desk;
        SettleRequest r;
        r.order_id = get_desk_order_id(ctx, desk);
        r.paytype = QString::number(3 + rng.bounded(5));
        if (with_member) {
            const CheckoutTotals totals = getalprice(ctx, r.order_id);
            double balance = member_balance();
            if (balance < 20) {
                set_vip_balance(ctx, Member, QStringLiteral("6"), QStringLiteral("200"));
                balance = member_balance();
            }
            r.member_id = Member;
            r.discount = rng.bounded(2) == 0 ? QStringLiteral("9.00") : QString();
            // Part of the bill, or all of it, from the balance.
            const double most = std::min(balance, totals.allprice * 0.9);
            const double part = std::floor(most * rng.bounded(100) / 100.0 * 2) / 2;
            r.deduction = part > 0 ? QString::number(part, 'f', 2) : QString();
        }
        return settle_order(ctx, r);
    }

    // The bill, or one of its lines, paid in parts: sometimes a QR part reported paid
    // first, the deposit, some of the balance, then the rest in shares of other methods.
    void pay_in_parts(const QString &desk)
    {
        ctx.desk_id = desk;
        const QString order = get_desk_order_id(ctx, desk);
        QStringList lines;
        {
            TSQLiteDatabase db(ctx.db_path);
            TSQLiteTable t = db.GetTable(QStringLiteral("SELECT id FROM lumo_orders_detail WHERE "
                                                        "rootid=? AND stat<8 ORDER BY id"),
                                         {order});
            QStringList live;
            for (; !t.isEof(); t.Next())
                live << t.FieldAsString(0);
            if (live.size() >= 2 && rng.bounded(3) == 0)
                lines << pick(live);
        }
        PartsRequest r;
        r.order_id = order;
        r.member_id = Member;
        r.discount = rng.bounded(2) == 0 ? QStringLiteral("9.00") : QString();
        r.line_ids = lines;
        PartsBill bill = read_parts_bill(ctx, order, r.discount, {}, lines);
        qint64 left = bill.payable_fen - bill.received_fen;
        if (left > 1 && rng.bounded(3) == 0) {
            record_received_part(ctx,
                                 order,
                                 QStringLiteral("1"),
                                 left / 2,
                                 QStringLiteral("PS%1").arg(rng.generate64()));
            bill = read_parts_bill(ctx, order, r.discount, {}, lines);
            left = bill.payable_fen - bill.received_fen;
        }
        if (left < 0)
            return; // lines returned after a QR part: the cashier gives money back first
        r.shown_payable_fen = bill.payable_fen;
        if (bill.deposit_fen > 0 && left > 0 && rng.bounded(2) == 0) {
            PaymentPart d = make_part(OtherMethod, std::min(bill.deposit_fen, left));
            d.note = DepositNote;
            r.parts << d;
            left -= d.amount_fen;
        }
        if (left > 0 && rng.bounded(2) == 0) {
            if (member_balance() < 20)
                set_vip_balance(ctx, Member, QStringLiteral("6"), QStringLiteral("200"));
            const qint64 b = std::min(fen_of_yuan(member_balance()), left / 2);
            if (b > 0) {
                r.parts << make_part(PayMemberBalance, b);
                left -= b;
            }
        }
        for (qint64 share : equal_shares(left, 1 + int(rng.bounded(3))))
            if (share > 0) {
                PaymentPart part = make_part(QString::number(3 + rng.bounded(5)), share);
                if (part.paytype == CashMethod && rng.bounded(2) == 0)
                    part.given_fen = share + rng.bounded(5000);
                r.parts << part;
            }
        if (r.parts.isEmpty() && bill.received.isEmpty()) {
            settle(desk, false); // nothing to pay
            return;
        }
        settle_with_parts(ctx, r);
    }

    // Two open tables on one bill; a table is opened and ordered for when one is missing.
    void merge()
    {
        QString a = table_with_lines();
        QStringList others = open_desks();
        others.removeAll(a);
        if (others.isEmpty()) {
            QStringList free = free_desks();
            if (free.isEmpty())
                return;
            const QString b = pick(free);
            open(b);
            submit(b, {item(1 + int(rng.bounded(dish_count())), {})});
            others << b;
        }
        merge_desks(ctx, a, pick(others));
    }

    double member_balance() const
    {
        TSQLiteDatabase db(ctx.db_path);
        return db.scalar(QStringLiteral("SELECT balance FROM lumo_member WHERE id=1")).toDouble();
    }

    void change_prices(const QString &desk)
    {
        ctx.desk_id = desk;
        const QString order = get_desk_order_id(ctx, desk);
        const QVector<OrderLineView> lines = read_order_lines(ctx, desk);
        if (lines.isEmpty())
            return;
        if (rng.bounded(4) == 0) {
            batch_lines(ctx, LineOp::Return, pick_line(lines).id);
            return;
        }
        QVector<PriceEdit> edits;
        for (int n = 1 + int(rng.bounded(3)); n > 0; --n) {
            const OrderLineView &l = pick_line(lines);
            edits.append({l.id,
                          QString::number(5 + rng.bounded(40) + rng.bounded(100) / 100.0, 'f', 2),
                          QString::number(1 + rng.bounded(4)),
                          l.remark});
        }
        save_price_changes(ctx, order, edits);
    }
    const OrderLineView &pick_line(const QVector<OrderLineView> &lines)
    {
        return lines.at(int(rng.bounded(lines.size())));
    }

    void recharge()
    {
        const QString amount
            = QString::number(10 + rng.bounded(300) + rng.bounded(100) / 100.0, 'f', 2);
        if (rng.bounded(2) == 0) {
            set_vip_balance(ctx, Member, QString::number(3 + rng.bounded(5)), amount);
            return;
        }
        // An online recharge: the pending row, then the service's paid report.
        const QString ordid = QStringLiteral("PS%1").arg(rng.generate64());
        insert_pending_recharge(ctx, ordid, amount);
        complete_online_recharge(ctx, Member, ordid, QStringLiteral("1"), amount);
    }

    // One operation of a crash path.
    void crash_step(const QString &path)
    {
        if (path == QLatin1String("open")) {
            const QStringList free = free_desks();
            if (free.isEmpty())
                settle(pick(open_desks()), false);
            else
                open(pick(free));
        } else if (path == QLatin1String("submit")) {
            QStringList open_ = open_desks();
            if (open_.isEmpty()) {
                open(pick(free_desks()));
                open_ = open_desks();
            }
            QVector<CartItem> items;
            for (int n = 1 + int(rng.bounded(3)); n > 0; --n)
                items.append(item(1 + int(rng.bounded(dish_count())), QStringLiteral("加急")));
            submit(pick(open_), items);
        } else if (path == QLatin1String("transfer")) {
            // Cleared tables keep an empty open order for their next party: transfers
            // must land on those too.
            if (rng.bounded(3) == 0 && !free_desks().isEmpty()) {
                const QString desk = pick(free_desks());
                ctx.settings.cwf = QStringLiteral("0.00");
                open(desk);
                ctx.settings.cwf = QStringLiteral("2.00");
                clear_desk(ctx, desk);
                return;
            }
            const QString from = table_with_lines();
            QStringList free = free_desks();
            if (free.isEmpty()) {
                settle(from, false);
                return;
            }
            ctx.desk_id = from;
            transfer_desk(ctx, from, pick(free));
        } else if (path == QLatin1String("price")) {
            change_prices(table_with_lines());
        } else if (path == QLatin1String("settle")) {
            settle(table_with_lines(), true);
        } else if (path == QLatin1String("recharge")) {
            recharge();
        } else if (path == QLatin1String("parts")) {
            pay_in_parts(table_with_lines());
        } else if (path == QLatin1String("merge")) {
            if (rng.bounded(3) == 0)
                pay_in_parts(table_with_lines());
            else
                merge();
        } else if (path == QLatin1String("restore")) {
            // Restores backup/restore.db beside the database, each time under a new
            // time, so the copies aside pile up.
            const QString folder = QFileInfo(ctx.db_path).absolutePath();
            const QDateTime when = QDateTime(QDate(2024, 1, 1), QTime(0, 0), Qt::UTC)
                                       .addSecs(qint64(rng.bounded(100000000)));
            restore_backup(folder + QStringLiteral("/backup/restore.db"), ctx.db_path, when);
        } else if (path == QLatin1String("demo")) {
            // The demonstration data offered on an empty board, and removed again.
            if (desks(QStringLiteral("1")).isEmpty())
                seed_demo_data(ctx);
            else
                delete_demo_data(ctx);
        } else {
            throw ESQLiteException(QStringLiteral("no such path: ") + path);
        }
    }

    AppContext ctx;
    QRandomGenerator rng;
};

int crash(Driver &d, const QString &path)
{
    say(QStringLiteral("ready"));
    for (;;) {
        d.crash_step(path);
        std::fputc('.', stdout);
        std::fflush(stdout);
    }
}

// Two counters at once: each operation is reported, and a store failure (a lock
// the busy timeout did not absorb) is reported as "error", never hidden.
int counter(Driver &d, const QStringList &a)
{
    const QString tag = a.at(0);
    const int ops = a.at(2).toInt();
    const int first_dish = a.at(3).toInt();
    const int settle_every = a.at(4).toInt();
    const QStringList own = a.mid(5);
    say(QStringLiteral("ready"));
    for (int i = 0; i < ops; ++i) {
        const QString desk = own.at(i % own.size());
        try {
            if (d.desks(QStringLiteral("stat IN (1,3) AND id=") + desk).isEmpty())
                d.open(desk);
            const QString remark = QStringLiteral("%1-%2").arg(tag).arg(i);
            const SubmitResult s = d.submit(desk, {d.item(first_dish + i, remark)});
            if (s.kind == SubmitResult::Done)
                say(QStringLiteral("submitted %1 %2").arg(first_dish + i).arg(remark));
            else
                say(QStringLiteral("refused submit %1 %2").arg(remark).arg(int(s.kind)));
            if (i % 7 == 3)
                d.change_prices(desk);
            if (i % 11 == 5)
                set_vip_balance(d.ctx, Member, QStringLiteral("6"), QStringLiteral("50"));
            if (i % 9 == 8) {
                d.ctx.desk_id = desk;
                const QStringList free = d.desks(QStringLiteral("stat=0 AND id IN (")
                                                 + own.join(QChar(',')) + QStringLiteral(")"));
                if (!free.isEmpty()) {
                    const TransferResult t = transfer_desk(d.ctx, desk, free.first());
                    say(QStringLiteral("transfer %1 %2").arg(int(t.outcome)).arg(t.message));
                }
            }
            if (settle_every > 0 && i % settle_every == settle_every - 1) {
                const SettleResult r = d.settle(desk, i % 2 == 0);
                if (r.ok())
                    say(QStringLiteral("settled"));
                else if (!r.error.isEmpty())
                    say(QStringLiteral("error ") + r.error);
                else
                    say(QStringLiteral("refused settle %1 %2").arg(int(r.outcome)).arg(r.message));
            }
        } catch (const ESQLiteException &e) {
            say(QStringLiteral("error ") + e.message().simplified());
        }
    }
    say(QStringLiteral("done"));
    return 0;
}

int settle_once(Driver &d, const QString &order, const QString &go)
{
    say(QStringLiteral("ready"));
    while (!QFile::exists(go))
        QThread::usleep(200);
    SettleRequest r;
    r.order_id = order;
    r.paytype = QStringLiteral("6");
    const SettleResult s = settle_order(d.ctx, r);
    say(QStringLiteral("result %1 %2%3").arg(s.ok() ? 1 : 0).arg(s.message, s.error));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList a;
    for (int i = 1; i < argc; ++i)
        a << QString::fromLocal8Bit(argv[i]);
    if (a.size() < 3) {
        std::fputs("usage: fault_driver DB crash|counter|settle ...\n", stderr);
        return 1;
    }
    try {
        const QString mode = a.at(1);
        if (mode == QLatin1String("crash") && a.size() >= 4) {
            Driver d(a.at(0), a.at(3).toUInt());
            return crash(d, a.at(2));
        }
        if (mode == QLatin1String("counter") && a.size() >= 8) {
            Driver d(a.at(0), a.at(3).toUInt());
            return counter(d, a.mid(2));
        }
        if (mode == QLatin1String("settle") && a.size() >= 4) {
            Driver d(a.at(0), 1);
            return settle_once(d, a.at(2), a.at(3));
        }
    } catch (const ESQLiteException &e) {
        std::fputs(("error " + e.message().simplified() + "\n").toUtf8().constData(), stderr);
        return 2;
    }
    std::fputs("bad arguments\n", stderr);
    return 1;
}
