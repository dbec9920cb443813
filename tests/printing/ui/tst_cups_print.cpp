// Prints through the platform's print system to a CUPS queue backed by cups-pdf
// and reads the PDF it wrote. `.ci/run` (scripts/pdf-printer.sh) sets up the queue.
#include "printing/order_prints.h"
#include "printing/ui/qt_print_device.h"
#include "store/sqlite_db.h"
#include "support/fixtures.h"
#include "support/testkit.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

namespace {

// Another queue can be named in MIVO_PDF_QUEUE.
const QString Queue = qEnvironmentVariable("MIVO_PDF_QUEUE", QStringLiteral("Mivo_PDF"));

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Ids of the queue's jobs in one state ("completed" or "not-completed").
QStringList jobs(const QString &which)
{
    QStringList ids;
    for (const QString &line : run("lpstat", {"-W", which, "-o", Queue}).split('\n'))
        if (!line.isEmpty())
            ids << line.section(' ', 0, 0);
    return ids;
}

// The newest PDF cups-pdf wrote since `since`, wherever its configuration puts it.
QString newest_pdf(const QDateTime &since)
{
    QString best;
    QDateTime best_time = since;
    const QStringList roots{QDir::homePath() + "/PDF", "/root/PDF", "/var/spool/cups-pdf"};
    for (const QString &root : roots) {
        QDirIterator it(root, {"*.pdf"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo f(it.next());
            if (f.lastModified() >= best_time) {
                best_time = f.lastModified();
                best = f.filePath();
            }
        }
    }
    return best;
}

} // namespace

class TestCupsPrint : public QObject
{
    Q_OBJECT
    static QString missing_queue()
    {
        if (QPrinterInfo::availablePrinterNames().contains(Queue))
            return {};
        return QStringLiteral("no CUPS queue \"%1\" backed by cups-pdf here; "
                              "scripts/pdf-printer.sh adds one (as .ci/run does)")
            .arg(Queue);
    }

private slots:
    // The same device writing PDF itself: no print system needed.
    void drawsReadableChineseIntoPdf()
    {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        TestProgram p;
        auto device = std::make_shared<QtPrintDevice>();
        device->set_output_file(p.path("receipt.pdf"));
        p.ctx.setPrintDevice(device);
        add_desks(p, 1);
        add_line(p, open_order(p, 1), "宫保鸡丁", "18.5", "2", "8");
        p.ctx.settings.kdprintname = "PDF";
        QCOMPARE(print_receipt(p.ctx, "老王饭店", "01", "1", "0"), PrintOutcome::Printed);
        const QString text = run("pdftotext", {"-layout", p.path("receipt.pdf"), "-"});
        for (const char *t : {"老王饭店", "桌号：01", "宫保鸡丁", "37.00", "您需支付：0.00"})
            QVERIFY2(text.contains(QString::fromUtf8(t)),
                     qPrintable(QString::fromUtf8(t) + " missing in:\n" + text));
    }

    // A queue that will not print is named before anything is sent to it.
    void refusingQueueIsNamed_data()
    {
        if (const QString missing = missing_queue(); !missing.isEmpty())
            QSKIP(qPrintable(missing));
        QTest::addColumn<QString>("stop");
        QTest::addColumn<QString>("restart");
        QTest::addColumn<QString>("reason");
        QTest::newRow("rejecting jobs")
            << "cupsreject"
            << "cupsaccept" << QStringLiteral("打印队列拒绝接收打印任务");
        QTest::newRow("paused") << "cupsdisable"
                                << "cupsenable" << QStringLiteral("打印机已暂停");
    }
    void refusingQueueIsNamed()
    {
        QFETCH(QString, stop);
        QFETCH(QString, restart);
        QFETCH(QString, reason);
        QtPrintDevice device;
        QVERIFY2(device.select(Queue), qPrintable(device.error()));
        if (QProcess::execute(stop, {Queue}) != 0)
            QSKIP(qPrintable(stop + " may not change the queue here"));
        const bool selected = device.select(Queue);
        const QString error = device.error();
        QCOMPARE(QProcess::execute(restart, {Queue}), 0);
        QVERIFY(!selected);
        QVERIFY2(error.startsWith(reason), qPrintable(error));
        QVERIFY2(error.endsWith(QStringLiteral("，请检查打印机后重新打印")), qPrintable(error));
        QVERIFY2(device.select(Queue), qPrintable(device.error()));
    }

    void printsReceiptAndTicketOnTheQueue_data()
    {
        if (const QString missing = missing_queue(); !missing.isEmpty())
            QSKIP(qPrintable(missing));
        for (const char *tool : {"lpstat", "pdfinfo", "pdftotext"})
            QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(), tool);
        QTest::addColumn<bool>("receipt");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QStringList>("texts");
        // 7 rows at 4 a page.
        QTest::newRow("receipt") << true << 2
                                 << QStringList{"老王饭店",
                                                "桌号：07",
                                                "宫保鸡丁",
                                                "37.00",
                                                "订单金额：99.50",
                                                "您需支付：88.00"};
        QTest::newRow("kitchen ticket")
            << false << 1 << QStringList{"宫保鸡丁", "微辣", "已出餐", "酸菜鱼", "已退菜"};
    }
    void printsReceiptAndTicketOnTheQueue()
    {
        QFETCH(bool, receipt);
        QFETCH(int, pages);
        QFETCH(QStringList, texts);
        TestProgram p;
        p.ctx.setPrintDevice(std::make_shared<QtPrintDevice>());
        add_desks(p, 7);
        {
            TSQLiteDatabase db(p.ctx.db_path);
            db.ExecSQL("INSERT INTO lumo_orders(title,deskid,iscal,stat,allprice,price) "
                       "VALUES('订单名称',7,0,1,99.5,88)");
        }
        const QString order = p.scalar("SELECT id FROM lumo_orders");
        add_line(p, order, "宫保鸡丁", "18.5", "2", "3");
        add_line(p, order, "酸菜鱼", "38", "1", "8");
        Settings &s = p.ctx.settings;
        s.shopname = "老王饭店";
        s.kdprintname = s.cdprintname = Queue;
        s.kdprintnums = 4;

        const QStringList done_before = jobs("completed");
        const QDateTime start = QDateTime::currentDateTime().addSecs(-1);
        const PrintOutcome outcome
            = receipt ? print_receipt(p.ctx, s.shopname, "07", "7", "0")
                      : print_kitchen_ticket(p.ctx, s.shopname, "07", "7", "0", KitchenFilter::All);
        QVERIFY2(p.prompts->warnings.isEmpty(), qPrintable(p.prompts->warnings.join('\n')));
        QCOMPARE(outcome, PrintOutcome::Printed);

        // The job leaves the queue as completed and cups-pdf has written its file.
        const auto new_completed = [&] {
            QStringList ids = jobs("completed");
            ids.removeIf([&](const QString &id) { return done_before.contains(id); });
            return ids;
        };
        QTRY_VERIFY_WITH_TIMEOUT(!new_completed().isEmpty(), 60000);
        QString pdf;
        QTRY_VERIFY_WITH_TIMEOUT(!(pdf = newest_pdf(start)).isEmpty(), 30000);
        const QString info = run("pdfinfo", {pdf});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(pages))),
                 qPrintable(info));
        const QString text = run("pdftotext", {"-layout", pdf, "-"});
        for (const QString &t : texts)
            QVERIFY2(text.contains(t), qPrintable(t + " missing in:\n" + text));
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestCupsPrint t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_cups_print.moc"
