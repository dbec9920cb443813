#include "printing/escpos.h"
#include "printing/net_printer.h"
#include "printing/order_prints.h"
#include "support/fake_printer.h"
#include "support/fixtures.h"
#include "support/testkit.h"

#include <QSignalSpy>
#include <QTest>

class TestEscpos : public QObject
{
    Q_OBJECT

private slots:
    void document_prints_as_text_lines_data();
    void document_prints_as_text_lines();
    void long_texts_stay_on_the_paper();
    void network_addresses_data();
    void network_addresses();
    void delivery_data();
    void delivery();
};

void TestEscpos::document_prints_as_text_lines_data()
{
    QTest::addColumn<int>("columns");
    QTest::newRow("80 mm") << escpos::Columns80;
    QTest::newRow("58 mm") << escpos::Columns58;
}

void TestEscpos::document_prints_as_text_lines()
{
    QFETCH(int, columns);
    TestProgram p;
    add_desks(p, 1);
    const QString order = open_order(p, 1);
    add_line(p, order, "宫保鸡丁", "28", "2");
    add_line(p, order, "酸辣土豆丝", "12", "1", "8");
    p.exec("UPDATE lumo_orders_detail SET remark='少放盐' WHERE title='宫保鸡丁'");
    const ComposedPrint c
        = compose_kitchen_ticket(p.ctx, "小馆", "A01", "1", order, KitchenFilter::All);
    QVERIFY(c.message.isEmpty());

    const DecodedStream d = decode_escpos(escpos::render_document(c.rows, columns));
    QVERIFY(d.unknown.isEmpty());
    QVERIFY(d.gbk_ok);
    QCOMPARE(d.tickets.size(), 1);
    const DecodedTicket &t = d.tickets[0];
    QVERIFY(t.initialised);
    QVERIFY(t.chinese);
    QVERIFY(t.cut);
    // The header: shop and table number, bold and double height.
    QVERIFY(t.lines[0].text.contains("桌号：A01"));
    QVERIFY(t.lines[0].bold);
    QVERIFY(t.lines[0].tall);
    QVERIFY(!t.lines[1].tall);
    QVERIFY(t.has("宫保鸡丁"));
    QVERIFY(t.has("微辣"));
    QVERIFY(t.has("少放盐"));
    // The returned line has no strike-out on this paper: it is marked.
    QVERIFY(t.has("[退]酸辣土豆丝"));
    for (const DecodedLine &l : t.lines)
        QVERIFY2(escpos::cell_width(l.text) <= columns, qPrintable(l.text));
}

void TestEscpos::long_texts_stay_on_the_paper()
{
    const QString name = QString("超长的菜品名称").repeated(6);
    const QVector<PrintRow> rows = {{{"0.0", "桌号：8", false, false}},
                                    {{"0.0", name, false, false}, {"3.1", "3", false, false}},
                                    {{"0.0", "合计：¥12.00", true, false}}};
    const DecodedStream d = decode_escpos(escpos::render_document(rows, escpos::Columns58));
    QCOMPARE(d.tickets.size(), 1);
    QString joined;
    for (const DecodedLine &l : d.tickets[0].lines) {
        QVERIFY2(escpos::cell_width(l.text) <= escpos::Columns58, qPrintable(l.text));
        joined += l.text;
    }
    QVERIFY(joined.contains(name));
    // GBK has no "¥": the full-width sign prints instead of a question mark.
    QVERIFY(d.tickets[0].has("合计：￥12.00"));
    QVERIFY(!joined.contains('?'));
}

void TestEscpos::network_addresses_data()
{
    QTest::addColumn<QString>("printer");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::newRow("address and port") << "192.168.1.50:9100" << true << "192.168.1.50" << 9100;
    QTest::newRow("address alone") << "10.0.0.7" << true << "10.0.0.7" << 9100;
    QTest::newRow("name and port") << "kitchen-1:9101" << true << "kitchen-1" << 9101;
    QTest::newRow("empty port") << "kitchen:" << true << "kitchen" << 9100;
    QTest::newRow("queue name") << "Kitchen_80mm" << false << "" << 0;
    QTest::newRow("port too big") << "10.0.0.7:70000" << false << "" << 0;
    QTest::newRow("empty") << "" << false << "" << 0;
}

void TestEscpos::network_addresses()
{
    QFETCH(QString, printer);
    QFETCH(bool, valid);
    const NetPrinterAddress a = parse_net_printer(printer);
    QCOMPARE(a.valid, valid);
    if (valid) {
        QTEST(a.host, "host");
        QTEST(int(a.port), "port");
    }
}

void TestEscpos::delivery_data()
{
    QTest::addColumn<int>("mode"); // -1: nobody listens
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("maybe_printed");
    QTest::addColumn<QString>("error");
    QTest::newRow("online") << int(FakePrinter::Online) << true << false << "";
    QTest::newRow("refused") << -1 << false << false << "连接被拒绝";
    QTest::newRow("silent") << int(FakePrinter::Silent) << false << true
                            << "打印机没有响应（超时）";
    QTest::newRow("offline") << int(FakePrinter::Offline) << false << true
                             << "打印机离线（缺纸或开盖）";
}

void TestEscpos::delivery()
{
    QFETCH(int, mode);
    FakePrinter printer;
    QVERIFY(printer.start());
    if (mode < 0)
        printer.stop();
    else
        printer.mode = FakePrinter::Mode(mode);

    escpos::Writer w(escpos::Columns80);
    w.line("热菜单");
    const QByteArray job = w.finish();
    NetPrintJob send(parse_net_printer(printer.address()), job, 400);
    QSignalSpy finished(&send, &NetPrintJob::finished);
    send.start();
    QVERIFY(finished.wait(3000));
    QTEST(finished.at(0).at(0).toBool(), "ok");
    QTEST(send.maybe_printed(), "maybe_printed");
    QTEST(send.error(), "error");
    if (mode >= 0) {
        // The job, then the status request that confirms it.
        QTRY_COMPARE_WITH_TIMEOUT(printer.all(), job + escpos::status_query(), 2000);
    }
    QCOMPARE(finished.size(), 1);
}

QTEST_GUILESS_MAIN(TestEscpos)
#include "tst_escpos.moc"
