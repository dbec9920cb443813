#include "printing/order_prints.h"
#include "printing/recording_device.h"
#include "store/sqlite_db.h"
#include "support/fixtures.h"
#include "support/testkit.h"

#include <QTest>

#include <sqlite3.h>

#include <cstring>

namespace {

// Another counter that adds a dish to an order, its line and the order's amounts in
// one write, the moment this counter starts reading that order's amounts.
struct RivalCounter
{
    QByteArray path;
    QString order;
    int rc = -1;
};
RivalCounter *&rival()
{
    static RivalCounter *r = nullptr;
    return r;
}
int on_statement(unsigned, void *, void *stmt, void *)
{
    const char *sql = sqlite3_sql(static_cast<sqlite3_stmt *>(stmt));
    RivalCounter *r = rival();
    if (!r || !sql || !std::strstr(sql, "SELECT paytime,allprice,price"))
        return 0;
    rival() = nullptr;
    sqlite3 *db = nullptr;
    sqlite3_open(r->path.constData(), &db); // no busy wait: a held lock refuses at once
    const QByteArray write
        = QStringLiteral(
              "BEGIN IMMEDIATE;"
              "INSERT INTO lumo_orders_detail(title,rootid,oneprice,quantity,price,stat) "
              "VALUES('啤酒',%1,10,1,10,0);"
              "UPDATE lumo_orders SET allprice=allprice+10,price=price+10 WHERE id=%1;"
              "COMMIT;")
              .arg(r->order)
              .toUtf8();
    r->rc = sqlite3_exec(db, write.constData(), nullptr, nullptr, nullptr);
    sqlite3_close(db); // rolls back a write left half done
    return 0;
}
int on_open(sqlite3 *db, const char **, const sqlite3_api_routines *)
{
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT, on_statement, nullptr);
    return SQLITE_OK;
}

// A cell as "x title", with " [b]" when bold and " [s]" when struck out.
QString cell_text(const PrintCell &c)
{
    return c.x + ' ' + c.title + (c.bold ? " [b]" : "") + (c.del ? " [s]" : "");
}

QStringList row_texts(const QVector<PrintRow> &rows)
{
    QStringList out;
    for (const PrintRow &r : rows) {
        QStringList cells;
        for (const PrintCell &c : r)
            cells << cell_text(c);
        out << cells.join(" | ");
    }
    return out;
}

// Table 01 with an open order: a served line, a returned line, the tableware line
// and a new line; stored amounts that are not the sum of the lines. Table 02 has
// an open order with one new line, table 03 none. A settled order of table 01.
class Restaurant : public TestProgram
{
public:
    Restaurant()
    {
        auto device = std::make_shared<RecordingPrintDevice>();
        device->installed = {"Kitchen_80mm", "Mivo_PDF"};
        printer = device.get();
        ctx.setPrintDevice(device);
        add_desks(*this, 3);
        TSQLiteDatabase db(ctx.db_path);
        const auto order = [&](int desk, int iscal, double allprice, double price, qint64 paytime) {
            db.ExecSQL("INSERT INTO lumo_orders(title,deskid,iscal,stat,allprice,price,paytime) "
                       "VALUES('订单名称',?,?,1,?,?,?)",
                       {desk, iscal, allprice, price, paytime});
            return QString::number(db.GetLastInsertRowID());
        };
        const auto line = [&](const QString &order,
                              const QString &title,
                              double oneprice,
                              int quantity,
                              int stat,
                              const QString &zfidstr,
                              const QString &remark) {
            db.ExecSQL("INSERT INTO lumo_orders_detail(title,rootid,oneprice,quantity,price,stat,"
                       "zfidstr,remark) VALUES(?,?,?,?,0,?,?,?)",
                       {title, order.toLongLong(), oneprice, quantity, stat, zfidstr, remark});
        };
        paid_at = wall_ms(2024, 3, 4, 20, 15, 42) / 1000;
        settled = order(1, 1, 48, 45, paid_at);
        line(settled, "红烧肉", 48, 1, 9, "", "");
        open = order(1, 0, 99.5, 88, 0);
        line(open, "宫保鸡丁", 18.5, 2, 3, "微辣,少油", "不要花生");
        line(open, "酸菜鱼\"大\"", 38, 1, 8, "", "");
        line(open, "餐具", 2, 4, 0, "", "");
        line(open, "米饭", 3, 1, 0, "", "");
        second = order(2, 0, 5, 5, 0);
        line(second, "可乐", 5, 1, 0, "", "");
        ctx.settings.shopname = "老王饭店";
        ctx.settings.shopaddress = "人民路1号";
        ctx.settings.shoptel = "0571-8888";
    }

    RecordingPrintDevice *printer = nullptr;
    QString settled;
    QString open;
    QString second;
    qint64 paid_at = 0;
};

const QString Date = QStringLiteral("0.0 日期：2024-03-05 14:07");

} // namespace

class TestOrderPrints : public QObject
{
    Q_OBJECT
private slots:
    void receiptOfTheOpenOrder()
    {
        Restaurant r;
        const ComposedPrint c = compose_receipt(r.ctx, "老王饭店", "01", "1", "0");
        QCOMPARE(c.message, QString());
        QCOMPARE(row_texts(c.rows),
                 QStringList({"0.0 老王饭店 [b] | 3.1 桌号：01 [b]",
                              "0.0 菜品 [b] | 3.1 份 [b] | 3.7 小计 [b]",
                              "0.0 宫保鸡丁 | 3.1 2 | 3.7 37.00",
                              "0.0 酸菜鱼\"大\" [s] | 3.1 1 [s] | 3.7 38.00 [s]",
                              "0.0 餐具 | 3.1 4 | 3.7 8.00",
                              "0.0 米饭 | 3.1 1 | 3.7 3.00",
                              // the stored amounts, not the printed lines' 86.00
                              "0.0 订单金额：99.50",
                              "0.0 您需支付：88.00",
                              Date}));
    }

    // A dish added at another counter while the receipt is read: the receipt lists it
    // and counts it, or neither.
    void receiptIsOneMoment()
    {
        Restaurant r;
        RivalCounter other{QFile::encodeName(r.ctx.db_path), r.open};
        rival() = &other;
        sqlite3_auto_extension(reinterpret_cast<void (*)()>(on_open));
        const ComposedPrint c = compose_receipt(r.ctx, "老王饭店", "01", "1", "0");
        sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(on_open));
        QVERIFY(other.rc != -1); // the other counter did try
        const QStringList rows = row_texts(c.rows);
        const bool listed = rows.contains("0.0 啤酒 | 3.1 1 | 3.7 10.00");
        const bool counted = rows.contains("0.0 订单金额：109.50");
        QVERIFY2(listed == counted, qPrintable(rows.join('\n')));
        QVERIFY(counted || rows.contains("0.0 订单金额：99.50"));
    }

    void receiptFooter_data()
    {
        QTest::addColumn<bool>("settledOrder");
        QTest::addColumn<int>("paytime");
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("tel");
        QTest::addColumn<QStringList>("tail"); // rows after the date
        const QString paid = "0.0 结账时间：2024-03-04 20:15";
        const QString address = "0.0 地址：人民路1号";
        const QString tel = "0.0 联系电话：0571-8888";
        QTest::newRow("open order, settlement time on") << false << 1 << 0 << 0 << QStringList();
        QTest::newRow("settled, time on") << true << 1 << 0 << 0 << QStringList{paid};
        QTest::newRow("settled, time off") << true << 0 << 0 << 0 << QStringList();
        QTest::newRow("open, address and tel") << false << 1 << 1 << 1 << QStringList{address, tel};
        QTest::newRow("settled, all on") << true << 1 << 1 << 1 << QStringList{paid, address, tel};
        QTest::newRow("settled, tel only") << true << 0 << 0 << 1 << QStringList{tel};
    }
    void receiptFooter()
    {
        QFETCH(bool, settledOrder);
        QFETCH(int, paytime);
        QFETCH(int, address);
        QFETCH(int, tel);
        QFETCH(QStringList, tail);
        Restaurant r;
        r.ctx.settings.is_paytime = paytime;
        r.ctx.settings.is_shopaddress = address;
        r.ctx.settings.is_shoptel = tel;
        const ComposedPrint c
            = compose_receipt(r.ctx, "老王饭店", "01", "1", settledOrder ? r.settled : "0");
        const QStringList rows = row_texts(c.rows);
        const qsizetype date = rows.indexOf(Date);
        QVERIFY2(date > 0, qPrintable(rows.join('\n')));
        QCOMPARE(rows.mid(date + 1), tail);
        if (settledOrder)
            QCOMPARE(rows.mid(date - 3, 3),
                     QStringList({"0.0 红烧肉 | 3.1 1 | 3.7 48.00",
                                  "0.0 订单金额：48.00",
                                  "0.0 您需支付：45.00"}));
    }

    void whichOrderIsPrinted_data()
    {
        QTest::addColumn<QString>("desk");
        QTest::addColumn<QString>("order");     // "open", "settled" or an id
        QTest::addColumn<QString>("firstLine"); // empty: nothing found
        QTest::newRow("0: the open order") << "1"
                                           << "0"
                                           << "宫保鸡丁";
        QTest::newRow("empty: the open order") << "1"
                                               << ""
                                               << "宫保鸡丁";
        QTest::newRow("a past order by id") << "1"
                                            << "settled"
                                            << "红烧肉";
        QTest::newRow("other table's open order") << "2"
                                                  << "0"
                                                  << "可乐";
        QTest::newRow("table without open order") << "3"
                                                  << "0"
                                                  << "";
        QTest::newRow("no such order") << "1"
                                       << "4711"
                                       << "";
    }
    void whichOrderIsPrinted()
    {
        QFETCH(QString, desk);
        QFETCH(QString, order);
        QFETCH(QString, firstLine);
        Restaurant r;
        const QString id = order == "settled" ? r.settled : order;
        const ComposedPrint receipt = compose_receipt(r.ctx, "店", "0" + desk, desk, id);
        const ComposedPrint ticket
            = compose_kitchen_ticket(r.ctx, "店", "0" + desk, desk, id, KitchenFilter::All);
        for (const ComposedPrint &c : {receipt, ticket}) {
            if (firstLine.isEmpty()) {
                QCOMPARE(c.message, NoOrderText);
                QCOMPARE(c.outcome, PrintOutcome::NoLines);
            } else {
                QCOMPARE(c.message, QString());
                QCOMPARE(c.rows[2][0].title, firstLine);
            }
        }
    }

    void kitchenTicket_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("desk");
        QTest::addColumn<QStringList>("lines"); // empty: nothing found
        const QString served = "0.0 宫保鸡丁 | 3.1 2 | 3.7 微辣,少油 | 4.7 已出餐 | 5.7 不要花生";
        const QString returned
            = "0.0 酸菜鱼\"大\" [s] | 3.1 1 [s] | 3.7  [s] | 4.7 已退菜 [s] | 5.7  [s]";
        const QString tableware = "0.0 餐具 | 3.1 4 | 3.7  | 4.7 已下单 | 5.7 ";
        const QString rice = "0.0 米饭 | 3.1 1 | 3.7  | 4.7 已下单 | 5.7 ";
        QTest::newRow("all") << int(KitchenFilter::All) << "1"
                             << QStringList{served, returned, tableware, rice};
        QTest::newRow("new") << int(KitchenFilter::New) << "1" << QStringList{tableware, rice};
        QTest::newRow("served") << int(KitchenFilter::Served) << "1" << QStringList{served};
        QTest::newRow("returned") << int(KitchenFilter::Returned) << "1" << QStringList{returned};
        QTest::newRow("served, none served") << int(KitchenFilter::Served) << "2" << QStringList();
    }
    void kitchenTicket()
    {
        QFETCH(int, filter);
        QFETCH(QString, desk);
        QFETCH(QStringList, lines);
        Restaurant r;
        r.ctx.settings.cdprintname = "Kitchen";
        const QString before = dump(r, "lumo_orders_detail");
        const PrintOutcome outcome
            = print_kitchen_ticket(r.ctx, "老王饭店", "0" + desk, desk, "0", KitchenFilter(filter));
        if (lines.isEmpty()) {
            QCOMPARE(outcome, PrintOutcome::NoLines);
            QCOMPARE(r.prompts->warnings, QStringList{NoOrderText});
            QCOMPARE(r.printer->jobs, 0);
            return;
        }
        QCOMPARE(outcome, PrintOutcome::Printed);
        QVERIFY(r.prompts->warnings.isEmpty());
        QCOMPARE(r.printer->selected, QString("Kitchen_80mm"));
        const ComposedPrint c = compose_kitchen_ticket(
            r.ctx, "老王饭店", "0" + desk, desk, "0", KitchenFilter(filter));
        QCOMPARE(
            row_texts(c.rows),
            QStringList({"0.0 老王饭店 | 3.1 桌号：01",
                         "0.0 菜品 [b] | 3.1 份 [b] | 3.7 做法 [b] | 4.7 状态 [b] | 5.7 备注 [b]"})
                + lines + QStringList{Date});
        // What reached the printer is that document, struck-out lines included.
        QCOMPARE(r.printer->texts.size(), 2 + 5 + 5 * lines.size() + 1);
        QCOMPARE(r.printer->texts.last().text, Date.mid(4));
        // Printing marks nothing: the same filter prints the same lines again.
        QCOMPARE(dump(r, "lumo_orders_detail"), before);
        print_kitchen_ticket(r.ctx, "老王饭店", "01", "1", "0", KitchenFilter(filter));
        QCOMPARE(r.printer->jobs, 2);
        QCOMPARE(r.printer->texts.size(), 2 * (2 + 5 + 5 * lines.size() + 1));
    }

    void wrongColumnSettingsStop_data()
    {
        QTest::addColumn<bool>("receipt");
        QTest::addColumn<QString>("positions");
        QTest::newRow("receipt, two") << true << "0.0,3.1";
        QTest::newRow("receipt, four") << true << "0.0,3.1,3.7,4.7";
        QTest::newRow("receipt, empty") << true << "";
        QTest::newRow("ticket, three") << false << "0.0,3.1,3.7";
        QTest::newRow("ticket, six") << false << "0.0,3.1,3.7,4.7,5.7,6.7";
    }
    void wrongColumnSettingsStop()
    {
        QFETCH(bool, receipt);
        QFETCH(QString, positions);
        Restaurant r;
        r.ctx.settings.kdprintname = r.ctx.settings.cdprintname = "Mivo";
        (receipt ? r.ctx.settings.kdstr : r.ctx.settings.cdstr) = positions;
        const PrintOutcome outcome
            = receipt ? print_receipt(r.ctx, "店", "01", "1", "0")
                      : print_kitchen_ticket(r.ctx, "店", "01", "1", "0", KitchenFilter::All);
        QCOMPARE(outcome, PrintOutcome::BadLayout);
        QCOMPARE(r.prompts->warnings, QStringList{receipt ? ReceiptLayoutText : KitchenLayoutText});
        QCOMPARE(r.printer->jobs, 0);
    }

    void positionsMarginsAndPagesFromTheSettings()
    {
        Restaurant r;
        Settings &s = r.ctx.settings;
        s.kdprintname = "PDF";
        s.kdprintnums = 4;
        s.kdstr = " 0.2,3.1,3.7 ";
        s.kdtop = "一"; // not numbers: 0.06 and 0.45
        s.kdhj = "";
        const QString orders = dump(r, "lumo_orders");
        const QString lines = dump(r, "lumo_orders_detail");
        QCOMPARE(print_receipt(r.ctx, s.shopname, "01", "1", "0"), PrintOutcome::Printed);
        QCOMPARE(r.printer->selected, QString("Mivo_PDF"));
        QCOMPARE(r.printer->pages, 3); // 9 rows, 4 a page
        QCOMPARE(r.printer->page_texts(1),
                 QStringList({"15 4 老王饭店",
                              "247 4 桌号：01",
                              "15 40 菜品",
                              "247 40 份",
                              "295 40 小计",
                              "15 76 宫保鸡丁",
                              "247 76 2",
                              "295 76 37.00",
                              "15 112 酸菜鱼\"大\"",
                              "247 112 1",
                              "295 112 38.00"}));
        QCOMPARE(r.printer->page_texts(3), QStringList{"15 4 日期：2024-03-05 14:07"});
        QCOMPARE(dump(r, "lumo_orders"), orders);
        QCOMPARE(dump(r, "lumo_orders_detail"), lines);

        s.cdprintname = "Kitchen";
        s.cdtop = "0.1";
        s.cdhj = "0.5";
        s.cdprintnums = 0; // 17
        r.printer->texts.clear();
        QCOMPARE(print_kitchen_ticket(r.ctx, s.shopname, "01", "1", "0", KitchenFilter::New),
                 PrintOutcome::Printed);
        QCOMPARE(r.printer->pages, 1);
        QCOMPARE(r.printer->page_texts(1).mid(0, 3),
                 QStringList({"0 7 老王饭店", "247 7 桌号：01", "0 47 菜品"}));
    }

    void noPrinterNoJob_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("not set") << "";
        QTest::newRow("not installed") << "Star";
    }
    void noPrinterNoJob()
    {
        QFETCH(QString, name);
        Restaurant r;
        r.ctx.settings.kdprintname = name;
        QCOMPARE(print_receipt(r.ctx, "店", "01", "1", "0"), PrintOutcome::NoPrinter);
        QCOMPARE(r.prompts->warnings, QStringList{NoPrinterText});
        QCOMPARE(r.printer->jobs, 0);
    }
};

QTEST_GUILESS_MAIN(TestOrderPrints)
#include "tst_order_prints.moc"
