// Two counters on one database file: two helper programs order, re-price, recharge,
// transfer and settle at the same time; nothing may be lost or doubled, and the
// busy timeout must absorb every lock.
#include "board/clearing.h"
#include "board/desk_state.h"
#include "board/transfer.h"
#include "ordering/diancan.h"
#include "support/fault_db.h"
#include "support/fixtures.h"
#include "support/testkit.h"

#include <QFile>
#include <QTest>

#include <functional>
#include <utility>

namespace {

constexpr int Ops = 60;

struct Tally
{
    int submitted = 0;
    int refused = 0;
    int settled = 0;
    int settle_refused = 0;
    QStringList errors;
};

// Reads a counter's report; every "submitted" line must be in the file exactly once.
Tally tally(const TestProgram &p, const QString &out, QStringList &losses)
{
    Tally t;
    for (const QString &line : out.split('\n', Qt::SkipEmptyParts)) {
        const QStringList w = line.split(' ');
        if (w.at(0) == QLatin1String("submitted")) {
            ++t.submitted;
            const QString n = p.scalar("SELECT count(*) FROM lumo_orders_detail WHERE caipinid="
                                       + w.at(1) + " AND remark='" + w.at(2) + "'");
            if (n != QLatin1String("1"))
                losses << QStringLiteral("%1 is there %2 times").arg(w.at(2), n);
        } else if (w.at(0) == QLatin1String("refused") && w.value(1) == QLatin1String("submit")) {
            ++t.refused;
        } else if (w.at(0) == QLatin1String("settled")) {
            ++t.settled;
        } else if (w.at(0) == QLatin1String("refused")) {
            ++t.settle_refused;
        } else if (w.at(0) == QLatin1String("error")) {
            t.errors << line;
        }
    }
    return t;
}

// Confirmation boxes that let another counter act while they are up, as a waiter's box
// stays open while the cashier at the other counter works.
class MeanwhilePrompts : public ScriptedPrompts
{
public:
    bool confirm(const QString &text) override
    {
        if (meanwhile)
            std::exchange(meanwhile, {})();
        return ScriptedPrompts::confirm(text);
    }
    std::function<void()> meanwhile;
};

// Table 1 open for two, with 2 x dish 1 unless told otherwise; returns its order.
QString seated(TestProgram &p, bool with_line = true)
{
    p.ctx.desk_id = "1";
    DeskStateForm open;
    open.stat = 1;
    open.nums = "2";
    const DeskStateResult r = save_desk_state(p.ctx, "1", open);
    if (!r.saved || !with_line)
        return r.order_id;
    return submit_cart(p.ctx, "1", {{"1", "菜品1", "9.50", "2", "0", "", "", ""}}).order_id;
}

} // namespace

class TestTwoCounters : public QObject
{
    Q_OBJECT

private slots:
    void nothingLostNothingDoubled_data()
    {
        QTest::addColumn<QStringList>("desks_a");
        QTest::addColumn<QStringList>("desks_b");
        QTest::newRow("different tables")
            << QStringList{"1", "2", "3"} << QStringList{"4", "5", "6"};
        QTest::newRow("same table") << QStringList{"1"} << QStringList{"1"};
    }
    void nothingLostNothingDoubled()
    {
        QFETCH(QStringList, desks_a);
        QFETCH(QStringList, desks_b);
        TestProgram p;
        seed_fault_fixture(p, 6, 2 * Ops + 10);
        // Counter A orders dishes 1.., counter B dishes Ops+1..: every line is someone's.
        FaultDriver a(p.ctx.db_path,
                      QStringList{"counter", "A", "11", QString::number(Ops), "1", "10"} + desks_a);
        FaultDriver b(
            p.ctx.db_path,
            QStringList{"counter", "B", "22", QString::number(Ops), QString::number(Ops + 1), "7"}
                + desks_b);
        QVERIFY(a.waitReady() && b.waitReady());
        QVERIFY2(a.finish(60000) && b.finish(60000), qPrintable(a.err + b.err));
        QVERIFY2(a.out.endsWith("done\n") && b.out.endsWith("done\n"), qPrintable(a.err + b.err));

        QStringList losses;
        const Tally ta = tally(p, a.out, losses);
        const Tally tb = tally(p, b.out, losses);
        // A refused submit writes nothing: no line may be there that no counter reported.
        const int stored
            = p.scalar("SELECT count(*) FROM lumo_orders_detail WHERE caipinid>0").toInt();
        if (stored != ta.submitted + tb.submitted)
            losses << QStringLiteral("%1 dish lines stored, %2 submitted")
                          .arg(stored)
                          .arg(ta.submitted + tb.submitted);
        const QStringList bad = check_invariants(p.ctx.db_path);
        qInfo("%d operations per counter; submitted %d + %d lines (%d + %d refused on a table "
              "the other counter had just settled), settled %d + %d, settlements refused %d + "
              "%d, lock or store errors %d, lines lost or doubled %d, invariant violations %d",
              Ops,
              ta.submitted,
              tb.submitted,
              ta.refused,
              tb.refused,
              ta.settled,
              tb.settled,
              ta.settle_refused,
              tb.settle_refused,
              int(ta.errors.size() + tb.errors.size()),
              int(losses.size()),
              int(bad.size()));
        QVERIFY2(ta.errors.isEmpty() && tb.errors.isEmpty(),
                 qPrintable((ta.errors + tb.errors).join('\n')));
        QVERIFY2(losses.isEmpty(), qPrintable(losses.join('\n')));
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join('\n')));
        QVERIFY(ta.submitted > Ops / 2 && tb.submitted > Ops / 2);
    }

    void oneOfTwoSettlementsOfAnOrderSucceeds()
    {
        TestProgram p;
        seed_fault_fixture(p, 1, 3);
        const QString order = seated(p);
        QVERIFY(!order.isEmpty());

        const QString go = p.path("go");
        FaultDriver first(p.ctx.db_path, {"settle", order, go});
        FaultDriver second(p.ctx.db_path, {"settle", order, go});
        QVERIFY(first.waitReady() && second.waitReady());
        QFile(go).open(QIODevice::WriteOnly); // both start at once
        QVERIFY(first.finish(20000) && second.finish(20000));
        QStringList results{first.out.section('\n', 1, 1), second.out.section('\n', 1, 1)};
        results.sort(); // the refusal first, whichever counter got it
        QCOMPARE(results,
                 (QStringList{"result 0 此订单已结算或已删除，无法结算", "result 1 结算成功"}));
        QCOMPARE(p.scalar("SELECT iscal||' '||paytype FROM lumo_orders WHERE id=" + order),
                 QString("1 6"));
        QCOMPARE(p.scalar("SELECT stat FROM lumo_desk WHERE id=1"), QString("0"));
        QCOMPARE(check_invariants(p.ctx.db_path), QStringList());
    }

    // The other counter settles or clears the table while this one's confirmation box
    // is up: answering OK afterwards must not write into the paid bill, onto a free
    // table, or move a freed table.
    void otherCounterActsDuringTheConfirmation_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("other");
        QTest::addColumn<QString>("message");
        QTest::newRow("submit, settled meanwhile") << "submit"
                                                   << "settle" << OrderSettledText;
        QTest::newRow("submit, cleared meanwhile") << "submit"
                                                   << "clear" << DeskNotOpenText;
        QTest::newRow("transfer, settled meanwhile") << "transfer"
                                                     << "settle" << TransferFreedText;
    }
    void otherCounterActsDuringTheConfirmation()
    {
        QFETCH(QString, action);
        QFETCH(QString, other);
        QFETCH(QString, message);
        TestProgram p;
        seed_fault_fixture(p, 2, 3);
        const QString order = seated(p, other == "settle");
        QVERIFY(!order.isEmpty());
        auto prompts = std::make_shared<MeanwhilePrompts>();
        p.ctx.setPrompts(prompts);
        QString done;
        QString lines;
        prompts->meanwhile = [&] {
            if (other == "settle") {
                QFile(p.path("go")).open(QIODevice::WriteOnly);
                FaultDriver cashier(p.ctx.db_path, {"settle", order, p.path("go")});
                cashier.finish(20000);
                done = cashier.out.section('\n', 1, 1);
            } else {
                AppContext cashier = p.ctx; // the same file, another counter's screens
                done = clear_desk(cashier, "1");
            }
            lines = dump(p, "lumo_orders_detail"); // as the other counter left them
        };
        QString said;
        if (action == "submit") {
            const SubmitResult r
                = submit_cart(p.ctx, "1", {{"2", "菜品2", "10.50", "1", "0", "", "", ""}});
            said = r.kind == SubmitResult::OrderSettled  ? OrderSettledText
                   : r.kind == SubmitResult::DeskNotOpen ? DeskNotOpenText
                                                         : QString("kind %1").arg(int(r.kind));
        } else {
            said = transfer_desk(p.ctx, "1", "2").message;
        }
        QCOMPARE(done, other == "settle" ? QString("result 1 结算成功") : QString("消台成功"));
        QCOMPARE(said, message);
        QCOMPARE(dump(p, "lumo_orders_detail"), lines);
        QCOMPARE(p.scalar("SELECT group_concat(stat) FROM lumo_desk"), QString("0,0"));
        QCOMPARE(check_invariants(p.ctx.db_path), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestTwoCounters)
#include "tst_two_counters.moc"
