// The takings report over a day of orders settled through the real checkout: every
// figure against the sums worked out by hand, and the edges of the periods.
#include "app/helpers.h"
#include "board/board.h"
#include "checkout/recharge.h"
#include "checkout/settlement.h"
#include "ordering/orders.h"
#include "printing/print_document.h"
#include "printing/recording_device.h"
#include "reports/takings.h"
#include "reports/takings_output.h"
#include "store/sqlite_db.h"
#include "support/fixtures.h"
#include "support/testkit.h"

#include <QFile>
#include <QTest>

namespace {

qint64 secs(int y, int mo, int d, int h, int mi, int s)
{
    return wall_ms(y, mo, d, h, mi, s) / 1000;
}

// Tables 01-04; dishes 鱼 30 (热菜, discounted), 酒 10 (酒水, never discounted),
// 饭 2 (no category); member 7 with 500 on the balance.
struct Day
{
    Day()
    {
        add_desks(p, 4);
        p.exec("INSERT INTO lumo_caipin_class(id,title) VALUES(1,'热菜'),(2,'酒水')");
        p.exec("INSERT INTO lumo_caipin(id,title,price,iszk,cid) "
               "VALUES(1,'鱼','30',1,1),(2,'酒','10',0,2),(3,'饭','2',1,0)");
        p.exec("INSERT INTO lumo_member(id,mobile,truename,zekou,balance) "
               "VALUES(7,'13800138000','李四',1000,500)");
    }

    void at(qint64 seconds) { p.clock->ms = seconds * 1000; }

    // Opens the table for the guests and orders the dishes ({dish id, quantity}).
    QString dinner(int desk, int guests, const QVector<QPair<int, int>> &dishes)
    {
        static const char *titles[] = {"", "鱼", "酒", "饭"};
        static const char *prices[] = {"", "30", "10", "2"};
        p.exec(QStringLiteral("UPDATE lumo_desk set stat=1,nums=%1 where id=%2")
                   .arg(guests)
                   .arg(desk));
        QString order;
        {
            TSQLiteDatabase db(p.ctx.db_path);
            order = add_order_for_desk(p.ctx,
                                       db,
                                       QString::number(desk),
                                       QString(),
                                       "0",
                                       QString(),
                                       QString::number(guests));
        }
        QVector<CartItem> items;
        for (const auto &[dish, quantity] : dishes)
            items.append({QString::number(dish),
                          QString::fromUtf8(titles[dish]),
                          QString::fromUtf8(prices[dish]),
                          QString::number(quantity),
                          "99",
                          QString(),
                          QString(),
                          QString()});
        write_cart(p.ctx, order, items, unix_now(p.ctx.clock()));
        return order;
    }

    void settle(const QString &order,
                const QString &paytype,
                qint64 when,
                const QString &deduction = {},
                const QString &discount = {},
                const QString &reduction = {})
    {
        at(when);
        SettleRequest r;
        r.order_id = order;
        r.paytype = paytype;
        r.member_id = deduction.isEmpty() ? QString() : QStringLiteral("7");
        r.deduction = deduction;
        r.discount = discount;
        r.reduction = reduction;
        const SettleResult done = settle_order(p.ctx, r);
        QVERIFY2(done.ok(), qPrintable(done.message + done.error));
    }

    TestProgram p;
};

// The fixture day, 2024-03-05, and the first second of the next.
void fill(Day &d)
{
    d.at(secs(2024, 3, 5, 9, 0, 0));
    QVERIFY(set_vip_balance(d.p.ctx, "7", "5", "200"));  // cash recharge
    insert_pending_recharge(d.p.ctx, "R-unpaid", "300"); // never paid

    const auto day = [](int h, int m, int s) {
        return secs(2024, 3, 5, h, m, s);
    };
    // cash 70
    d.settle(d.dinner(1, 2, {{1, 2}, {2, 1}}), "5", day(10, 0, 0));
    // card 36
    d.settle(d.dinner(2, 3, {{1, 1}, {3, 3}}), "6", day(11, 0, 0));
    // WeChat paid online, with the pay type the service reported
    d.settle(d.dinner(3, 2, {{2, 4}}), "1", day(12, 0, 0));
    // the balance pays the whole 30
    d.settle(d.dinner(4, 1, {{1, 1}}), "5", day(12, 30, 0), "30");
    // 90: 50 from the balance, 40 cash
    d.settle(d.dinner(1, 2, {{1, 3}}), "5", day(13, 0, 0), "50");
    // 80, of which 60 discountable: 8.5 takes 9 off, a reduction of 1 more; card 70
    d.settle(d.dinner(2, 4, {{1, 2}, {2, 2}}), "6", day(14, 0, 0), {}, "8.5", "1");
    // 10 with a surcharge of 5: cash 15
    d.settle(d.dinner(3, 2, {{3, 5}}), "5", day(15, 0, 0), {}, {}, "-5");
    // 50 ordered, the two 酒 (20) returned: cash 30
    {
        const QString order = d.dinner(4, 2, {{1, 1}, {2, 2}});
        const QString line = d.p.scalar(
            QStringLiteral("SELECT id FROM lumo_orders_detail where rootid=%1 AND caipinid=2")
                .arg(order));
        batch_lines(d.p.ctx, LineOp::Return, line);
        d.settle(order, "5", day(16, 0, 0));
    }
    // the last second of the day, WeChat at the counter: 10
    d.settle(d.dinner(1, 1, {{2, 1}}), "3", day(23, 59, 59));
    // the first second of the next day: cash 30
    d.settle(d.dinner(2, 2, {{1, 1}}), "5", secs(2024, 3, 6, 0, 0, 0));
    // still eating: 40 for 3 guests
    d.dinner(3, 3, {{1, 1}, {2, 1}});
}

QString takings_text(const QVector<PayTakings> &list)
{
    QStringList out;
    for (const PayTakings &t : list)
        out << QStringLiteral("%1 %2 %3 %4")
                   .arg(t.paytype, t.name)
                   .arg(t.count)
                   .arg(format_money(t.amount));
    return out.join(QStringLiteral("; "));
}

// The cells printed on the line that starts with label, as "x:text" in order.
QString printed_row(const RecordingPrintDevice &device, const QString &label)
{
    int y = -1;
    QStringList out;
    for (const RecordingPrintDevice::Text &t : device.texts) {
        if (y < 0 && t.x == 0 && t.text == label)
            y = t.y;
        if (t.y == y && t.page == 1)
            out << QStringLiteral("%1:%2").arg(t.x).arg(t.text);
    }
    return out.join(' ');
}

} // namespace

class TstTakings : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void named_periods_data();
    void named_periods();
    void fixture_day();
    void next_day_and_empty_period();
    void board_agrees_with_report_data();
    void board_agrees_with_report();
    void print_on_sheets();
    void print_and_csv();

private:
    // The fixture day, filled once; the tests only read it.
    std::unique_ptr<Day> m_day;
};

void TstTakings::initTestCase()
{
    m_day = std::make_unique<Day>();
    fill(*m_day);
}

void TstTakings::named_periods_data()
{
    QTest::addColumn<qint64>("now");
    QTest::addColumn<int>("kind");
    QTest::addColumn<qint64>("from");
    QTest::addColumn<qint64>("to");
    const qint64 tue = secs(2024, 3, 5, 14, 7, 9);
    QTest::newRow("today") << tue << int(PeriodKind::Today) << secs(2024, 3, 5, 0, 0, 0)
                           << secs(2024, 3, 6, 0, 0, 0);
    QTest::newRow("today, first second") << secs(2024, 3, 5, 0, 0, 0) << int(PeriodKind::Today)
                                         << secs(2024, 3, 5, 0, 0, 0) << secs(2024, 3, 6, 0, 0, 0);
    QTest::newRow("today, last second") << secs(2024, 3, 5, 23, 59, 59) << int(PeriodKind::Today)
                                        << secs(2024, 3, 5, 0, 0, 0) << secs(2024, 3, 6, 0, 0, 0);
    QTest::newRow("yesterday, across a month")
        << secs(2024, 3, 1, 8, 0, 0) << int(PeriodKind::Yesterday) << secs(2024, 2, 29, 0, 0, 0)
        << secs(2024, 3, 1, 0, 0, 0);
    QTest::newRow("week from a Tuesday") << tue << int(PeriodKind::ThisWeek)
                                         << secs(2024, 3, 4, 0, 0, 0) << secs(2024, 3, 11, 0, 0, 0);
    QTest::newRow("week on its Sunday night")
        << secs(2024, 3, 10, 23, 59, 59) << int(PeriodKind::ThisWeek) << secs(2024, 3, 4, 0, 0, 0)
        << secs(2024, 3, 11, 0, 0, 0);
    QTest::newRow("week on its Monday") << secs(2024, 3, 11, 0, 0, 0) << int(PeriodKind::ThisWeek)
                                        << secs(2024, 3, 11, 0, 0, 0) << secs(2024, 3, 18, 0, 0, 0);
    QTest::newRow("month of a leap February")
        << secs(2024, 2, 29, 12, 0, 0) << int(PeriodKind::ThisMonth) << secs(2024, 2, 1, 0, 0, 0)
        << secs(2024, 3, 1, 0, 0, 0);
    QTest::newRow("December into the new year")
        << secs(2024, 12, 31, 23, 0, 0) << int(PeriodKind::ThisMonth) << secs(2024, 12, 1, 0, 0, 0)
        << secs(2025, 1, 1, 0, 0, 0);
}

void TstTakings::named_periods()
{
    QFETCH(qint64, now);
    QFETCH(int, kind);
    QFETCH(qint64, from);
    QFETCH(qint64, to);
    const Period p = named_period(PeriodKind(kind), now);
    QCOMPARE(p.from, from);
    QCOMPARE(p.to, to);
}

void TstTakings::fixture_day()
{
    Day &d = *m_day;
    const Period today = named_period(PeriodKind::Today, secs(2024, 3, 5, 18, 0, 0));
    const TakingsReport r = takings_report(d.p.ctx.db_path, today);

    QCOMPARE(r.orders, 9);
    QCOMPARE(r.guests, 19);
    QCOMPARE(takings_text(r.takings),
             QStringLiteral("1 微信在线 1 40.00; 3 微信线下 1 10.00; 5 现金 4 155.00; "
                            "6 银行卡 2 106.00"));
    QCOMPARE(format_money(r.balance), QStringLiteral("80.00"));
    QCOMPARE(r.balance_orders, 2);
    QCOMPARE(format_money(r.total), QStringLiteral("391.00"));
    QCOMPARE(format_money(r.per_order), QStringLiteral("43.44")); // 391 / 9
    QCOMPARE(format_money(r.per_guest), QStringLiteral("20.58")); // 391 / 19
    QCOMPARE(format_money(r.allprice), QStringLiteral("396.00"));
    QCOMPARE(format_money(r.discounts), QStringLiteral("10.00"));
    QCOMPARE(format_money(r.surcharges), QStringLiteral("5.00"));
    QCOMPARE(r.returned_lines, 1);
    QCOMPARE(format_money(r.returned_value), QStringLiteral("20.00"));
    QCOMPARE(takings_text(r.recharges), QStringLiteral("5 现金 1 200.00"));
    QCOMPARE(format_money(r.recharge_total), QStringLiteral("200.00"));

    QStringList dishes;
    for (const DishSales &s : r.dishes)
        dishes << QStringLiteral("%1/%2/%3/%4")
                      .arg(s.title, s.category)
                      .arg(s.quantity)
                      .arg(format_money(s.amount));
    QCOMPARE(dishes.join(' '),
             QStringLiteral("鱼/热菜/10/300.00 酒/酒水/8/80.00 饭/未分类/8/16.00"));
    QStringList categories;
    for (const CategorySales &c : r.categories)
        categories
            << QStringLiteral("%1/%2/%3").arg(c.title).arg(c.quantity).arg(format_money(c.amount));
    QCOMPARE(categories.join(' '), QStringLiteral("热菜/10/300.00 酒水/8/80.00 未分类/8/16.00"));

    QCOMPARE(r.open_tables.size(), 1);
    QCOMPARE(r.open_tables[0].bh, QStringLiteral("03"));
    QCOMPARE(r.open_tables[0].guests, 3);
    QCOMPARE(format_money(r.open_tables[0].amount), QStringLiteral("40.00"));
    QCOMPARE(format_money(r.open_total), QStringLiteral("40.00"));
}

void TstTakings::board_agrees_with_report_data()
{
    QTest::addColumn<qint64>("now");
    QTest::addColumn<QString>("settled");
    // Cash, card, WeChat online, the balance alone and balance with cash: 391.
    QTest::newRow("the fixture day") << secs(2024, 3, 5, 18, 0, 0) << "391.00";
    QTest::newRow("the next day") << secs(2024, 3, 6, 9, 0, 0) << "30.00";
    QTest::newRow("a day without business") << secs(2024, 3, 1, 9, 0, 0) << "0.00";
}

void TstTakings::board_agrees_with_report()
{
    QFETCH(qint64, now);
    QFETCH(QString, settled);
    Day &d = *m_day;
    d.at(now);
    const TakingsReport r = takings_report(d.p.ctx.db_path, named_period(PeriodKind::Today, now));
    QCOMPARE(format_money(r.total), settled);
    QCOMPARE(board_summary(d.p.ctx).settled, settled);
}

void TstTakings::next_day_and_empty_period()
{
    Day &d = *m_day;
    // The next day holds only the order settled at its first second.
    const TakingsReport next = takings_report(
        d.p.ctx.db_path, named_period(PeriodKind::Today, secs(2024, 3, 6, 9, 0, 0)));
    QCOMPARE(next.orders, 1);
    QCOMPARE(takings_text(next.takings), QStringLiteral("5 现金 1 30.00"));
    QCOMPARE(format_money(next.total), QStringLiteral("30.00"));
    QVERIFY(next.recharges.isEmpty());
    // The open table shows whatever the period.
    QCOMPARE(format_money(next.open_total), QStringLiteral("40.00"));

    // A shift typed by hand: 12:00:00 to 14:00:00, both ends included.
    const TakingsReport shift = takings_report(
        d.p.ctx.db_path, free_period(secs(2024, 3, 5, 12, 0, 0), secs(2024, 3, 5, 14, 0, 0)));
    QCOMPARE(shift.orders, 4);
    QCOMPARE(format_money(shift.total), QStringLiteral("230.00")); // 40 + 30 + 90 + 70

    // A day without business: nothing divides by zero.
    const TakingsReport empty = takings_report(
        d.p.ctx.db_path, named_period(PeriodKind::Today, secs(2024, 3, 1, 9, 0, 0)));
    QCOMPARE(empty.orders, 0);
    QCOMPARE(empty.per_order, 0.0);
    QCOMPARE(empty.per_guest, 0.0);
    QVERIFY(empty.takings.isEmpty() && empty.dishes.isEmpty());
}

void TstTakings::print_on_sheets()
{
    Day &d = *m_day;
    const TakingsReport r = takings_report(
        d.p.ctx.db_path, named_period(PeriodKind::Today, secs(2024, 3, 5, 18, 0, 0)));
    d.p.ctx.settings.kdprintname = "PDF";
    const auto print = [&](int page_height) {
        auto device = std::make_shared<RecordingPrintDevice>();
        device->installed = {"Mivo_PDF"};
        device->page_height_units = page_height;
        d.p.ctx.setPrintDevice(device);
        const bool printed = print_takings(d.p.ctx, r) == PrintOutcome::Printed;
        return printed ? device : nullptr;
    };
    // A roll takes the whole report on one page, at the default 1000 rows a page.
    const auto roll = print(0);
    QVERIFY(roll);
    QCOMPARE(roll->pages, 1);
    QStringList all;
    for (const RecordingPrintDevice::Text &t : roll->texts)
        all << t.text;

    // A sheet 6 cm high (479 dots at 203 dpi) holds 13 rows of 0.45 cm below 0.06 cm.
    const auto sheet = print(479);
    QVERIFY(sheet);
    QVERIFY2(roll->texts.last().y > 479, "the report is longer than one sheet");
    const qsizetype rows
        = compose_takings_print(r, d.p.ctx.settings.shopname, d.p.ctx.settings.kdstr, "")
              .rows.size();
    QCOMPARE(sheet->pages, int((rows + 12) / 13));
    QVERIFY(sheet->pages > 1);
    QStringList again;
    for (const RecordingPrintDevice::Text &t : sheet->texts) {
        again << t.text;
        QVERIFY2(t.y + device_units(203, 0.45) <= 479, qPrintable(t.text));
    }
    QCOMPARE(again, all); // nothing lost, nothing repeated, same order
}

void TstTakings::print_and_csv()
{
    Day &d = *m_day;
    const TakingsReport r = takings_report(
        d.p.ctx.db_path, named_period(PeriodKind::Today, secs(2024, 3, 5, 18, 0, 0)));

    // Printed on the receipt printer at the receipt's columns (203 dpi: 0.0, 3.1 and
    // 3.7 cm are 0, 247 and 295 dots).
    auto device = std::make_shared<RecordingPrintDevice>();
    device->installed = {"Receipt_80mm"};
    d.p.ctx.setPrintDevice(device);
    d.p.ctx.settings.kdprintname = "Receipt";
    d.p.ctx.settings.shopname = "小馆";
    d.at(secs(2024, 3, 5, 22, 30, 0));
    QCOMPARE(print_takings(d.p.ctx, r), PrintOutcome::Printed);
    const QStringList page = device->page_texts(1);
    QCOMPARE(page.mid(0, 4),
             QStringList({"0 4 小馆",
                          "0 40 营业统计",
                          "0 76 起：2024-03-05 00:00:00",
                          "0 112 止：2024-03-05 23:59:59"}));
    QCOMPARE(printed_row(*device, "现金 4笔"), QStringLiteral("0:现金 4笔 295:155.00"));
    QCOMPARE(printed_row(*device, "会员余额 2笔"), QStringLiteral("0:会员余额 2笔 295:80.00"));
    QCOMPARE(printed_row(*device, "实收合计 9笔"), QStringLiteral("0:实收合计 9笔 295:391.00"));
    QCOMPARE(printed_row(*device, "折扣减免"), QStringLiteral("0:折扣减免 295:10.00"));
    QCOMPARE(printed_row(*device, "退菜 1项"), QStringLiteral("0:退菜 1项 295:20.00"));
    QCOMPARE(printed_row(*device, "桌位03 3人"), QStringLiteral("0:桌位03 3人 295:40.00"));
    // Dishes as on a receipt: quantity in the second column.
    QCOMPARE(printed_row(*device, "菜品销售"), QStringLiteral("0:菜品销售 247:份 295:金额"));
    QCOMPARE(printed_row(*device, "鱼"), QStringLiteral("0:鱼 247:10 295:300.00"));
    QCOMPARE(printed_row(*device, "热菜 10份"), QStringLiteral("0:热菜 10份 295:300.00"));
    QVERIFY(page.last().endsWith(QStringLiteral("打印时间：2024-03-05 22:30")));

    // Positions that are not three stop with the receipt's layout message.
    d.p.ctx.settings.kdstr = "0.0,3.1";
    QCOMPARE(print_takings(d.p.ctx, r), PrintOutcome::BadLayout);
    QCOMPARE(d.p.prompts->warnings.last(), QStringLiteral("客打打印机设置错误"));

    // The CSV read back.
    const QString path = d.p.path("takings.csv");
    QCOMPARE(write_takings_csv(path, r, "小馆,东门店", "2024-03-05 22:30"), QString());
    // The shop's takings are for the owner's eyes only.
    QCOMPARE(QFile::permissions(path) & QFileDevice::Permissions(0x7077), // owner, group, others
             QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split("\r\n");
    QCOMPARE(lines.mid(0, 4),
             QStringList({"营业统计",
                          "店铺,\"小馆,东门店\"",
                          "时段,2024-03-05 00:00:00 至 2024-03-05 23:59:59",
                          "导出时间,2024-03-05 22:30"}));
    for (const QString &row : {QStringLiteral("现金,4,155.00"),
                               QStringLiteral("会员余额,2,80.00"),
                               QStringLiteral("实收合计,9,391.00"),
                               QStringLiteral("折扣减免,,10.00"),
                               QStringLiteral("加收金额,,5.00"),
                               QStringLiteral("退菜,1,20.00"),
                               QStringLiteral("鱼,热菜,10,300.00"),
                               QStringLiteral("未分类,8,16.00")})
        QVERIFY2(lines.contains(row), qPrintable(row));
    // Dishes best first, right under their heading.
    const qsizetype head = lines.indexOf(QStringLiteral("菜品,分类,数量,金额"));
    QVERIFY(head > 0);
    QCOMPARE(lines.mid(head + 1, 3),
             QStringList({"鱼,热菜,10,300.00", "酒,酒水,8,80.00", "饭,未分类,8,16.00"}));

    // A folder that does not exist: a message, no file.
    const QString bad = d.p.path("missing/takings.csv");
    QVERIFY(write_takings_csv(bad, r, "小馆", "x").startsWith(ExportFailedText));
    QVERIFY(!QFile::exists(bad));
}

QTEST_GUILESS_MAIN(TstTakings)
#include "tst_takings.moc"
