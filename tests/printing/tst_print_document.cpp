#include "printing/print_document.h"
#include "printing/recording_device.h"
#include "support/testkit.h"

#include <QTest>

namespace {

using Style = PrintDevice::Style;

// One cell per row, titled "r1", "r2", ... at x 0.
QString numbered_rows(int n)
{
    QVector<PrintRow> rows;
    for (int i = 1; i <= n; ++i)
        rows.append({{QStringLiteral("0.0"), QStringLiteral("r%1").arg(i)}});
    return compose_print_document(rows);
}

struct Run
{
    ScriptedPrompts prompts;
    RecordingPrintDevice device;
    Run() { device.installed = {QStringLiteral("Mivo_PDF")}; }
    PrintOutcome
    print(const QString &json, int per_page = 1000, double pitch = 0.45, double top = 0.06)
    {
        return print_document(prompts, &device, QStringLiteral("Mivo"), json, per_page, pitch, top);
    }
};

} // namespace

class TestPrintDocument : public QObject
{
    Q_OBJECT
private slots:
    void composesNinePieceCells()
    {
        const QVector<PrintRow> rows{{{"0.0", "店", true, false}, {"3.1", "桌号：01", false, true}},
                                     {},
                                     {{"3.7", "", false, false}}};
        QCOMPARE(compose_print_document(rows),
                 QString(R"([[{"x":"0.0","title":"店","isbold":"1","isdel":"0"},)"
                         R"({"x":"3.1","title":"桌号：01","isbold":"0","isdel":"1"}],[],)"
                         R"([{"x":"3.7","title":"","isbold":"0","isdel":"0"}]])"));
        QCOMPARE(compose_print_document({}), QString("[]"));
    }

    void titlesSurviveTheRoundTrip_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("written");
        QTest::newRow("quote") << "5\"寸披萨"
                               << R"(5\"寸披萨)";
        QTest::newRow("backslash") << "A\\B"
                                   << R"(A\\B)";
        QTest::newRow("newline and tab") << "红烧\n肉\t"
                                         << R"(红烧\n肉\t)";
        QTest::newRow("other control") << QString("a") + QChar(1) + "b"
                                       << R"(a\u0001b)";
        QTest::newRow("all at once") << "\"\\\n\""
                                     << R"(\"\\\n\")";
    }
    void titlesSurviveTheRoundTrip()
    {
        QFETCH(QString, title);
        QFETCH(QString, written);
        const QString json = compose_print_document({{{"0.0", title, false, false}}});
        QVERIFY2(json.contains("\"title\":\"" + written + "\""), qPrintable(json));
        QVector<ParsedRow> rows;
        QVERIFY(parse_print_document(json, rows));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0][0].title, title);

        Run run;
        QCOMPARE(run.print(json), PrintOutcome::Printed);
        QCOMPARE(run.device.texts.size(), 1);
        QCOMPARE(run.device.texts[0].text, title);
    }

    void readsNumbersAndTexts_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<double>("x");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("del");
        QTest::newRow("texts") << R"({"x":"3.1","title":"t","isbold":"1","isdel":"0"})" << 3.1
                               << true << false;
        QTest::newRow("numbers") << R"({"x":3.7,"title":"t","isbold":0,"isdel":1})" << 3.7 << false
                                 << true;
        QTest::newRow("not numbers")
            << R"({"x":"左","title":"t","isbold":"是","isdel":"yes"})" << 0.0 << false << false;
        QTest::newRow("missing members") << R"({"title":"t"})" << 0.0 << false << false;
    }
    void readsNumbersAndTexts()
    {
        QFETCH(QString, cell);
        QFETCH(double, x);
        QFETCH(bool, bold);
        QFETCH(bool, del);
        QVector<ParsedRow> rows;
        QVERIFY(parse_print_document("[[" + cell + "]]", rows));
        QCOMPARE(rows[0][0].x, x);
        QCOMPARE(rows[0][0].bold, bold);
        QCOMPARE(rows[0][0].del, del);
        QCOMPARE(rows[0][0].title, QString("t"));
    }

    // Device coordinates are truncated, not rounded; the style is set before each text.
    void drawsAtTruncatedDevicePositions()
    {
        Run run;
        const QString json = compose_print_document({{{"0.0", "a"}, {"3.1", "b", true, true}},
                                                     {{"3.7", "c", false, true}},
                                                     {{"1.27", "d", true, false}}});
        QCOMPARE(run.print(json), PrintOutcome::Printed);
        QCOMPARE(run.device.calls,
                 QStringList({"printers",
                              "select Mivo_PDF",
                              "begin Mivo",
                              "regular",
                              "text 0 4 a",
                              "bold", // bold and struck out prints bold only
                              "text 247 4 b",
                              "strike",
                              "text 295 40 c",
                              "bold",
                              "text 101 76 d",
                              "end"}));
        QVERIFY(run.prompts.warnings.isEmpty());
    }

    // A cell ends before the next column of its row begins. At 203 dpi the kitchen
    // ticket's status (4.7 cm) and remark (5.7 cm) are 79 units apart: three characters
    // of 30 units would run into the remark.
    void aCellStaysInItsColumn_data()
    {
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("printed");
        QTest::newRow("too wide: cut at the remark") << "已下单"
                                                     << "已下";
        QTest::newRow("fits") << "已上"
                              << "已上";
        QTest::newRow("nothing") << ""
                                 << "";
    }
    void aCellStaysInItsColumn()
    {
        QFETCH(QString, status);
        QFETCH(QString, printed);
        Run run;
        run.device.char_width = 30;
        // The cells in any order; the last one of the row runs to the edge.
        const QString json = compose_print_document(
            {{{"5.7", "少油少盐多加葱"}, {"0.0", "宫保鸡丁"}, {"4.7", status}}});
        QCOMPARE(run.print(json), PrintOutcome::Printed);
        QStringList drawn;
        for (const RecordingPrintDevice::Text &t : run.device.texts)
            drawn << QStringLiteral("%1 %2").arg(t.x).arg(t.text);
        QCOMPARE(drawn, QStringList({"455 少油少盐多加葱", "0 宫保鸡丁", "375 " + printed}));
        for (const RecordingPrintDevice::Text &t : run.device.texts)
            QVERIFY(t.x >= 455 || t.x + run.device.text_width(t.text) < 455);
    }

    void otherResolutions()
    {
        Run run;
        run.device.dpi_horizontal = 300;
        run.device.dpi_vertical = 600;
        QCOMPARE(
            run.print(compose_print_document({{{"1.0", "a"}}, {{"0.5", "b"}}}), 1000, 1.0, 0.5),
            PrintOutcome::Printed);
        // 300 x 1.0 / 2.54 = 118.1; 600 x 0.5 / 2.54 = 118.1; 600 x 1.5 / 2.54 = 354.3
        QCOMPARE(run.device.page_texts(1), QStringList({"118 118 a", "59 354 b"}));
    }

    void breaksPages_data()
    {
        QTest::addColumn<int>("perPage");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QStringList>("pages"); // rows of each page
        QTest::addColumn<int>("sheet");         // page height in dots, 0 for a roll
        QTest::newRow("2 per page, 5 rows") << 2 << 5 << QStringList{"r1 r2", "r3 r4", "r5"} << 0;
        QTest::newRow("2 per page, 4 rows") << 2 << 4 << QStringList{"r1 r2", "r3 r4"} << 0;
        QTest::newRow("1 per page") << 1 << 2 << QStringList{"r1", "r2"} << 0;
        QTest::newRow("more room than rows") << 1000 << 3 << QStringList{"r1 r2 r3"} << 0;
        // 120 dots at 203 dpi are 1.50 cm: three rows of 0.45 cm below 0.06 cm.
        QTest::newRow("sheet of 3 rows")
            << 1000 << 7 << QStringList{"r1 r2 r3", "r4 r5 r6", "r7"} << 120;
        QTest::newRow("fewer rows asked than fit") << 2 << 3 << QStringList{"r1 r2", "r3"} << 120;
        QTest::newRow("sheet shorter than a row") << 1000 << 2 << QStringList{"r1", "r2"} << 10;
        QStringList seventeen;
        for (int i = 1; i <= 17; ++i)
            seventeen << QStringLiteral("r%1").arg(i);
        QTest::newRow("0 means 17") << 0 << 18 << QStringList{seventeen.join(' '), "r18"} << 0;
        QTest::newRow("-3 means 17") << -3 << 18 << QStringList{seventeen.join(' '), "r18"} << 0;
        QTest::newRow("17 rows at 0") << 0 << 17 << QStringList{seventeen.join(' ')} << 0;
        QTest::newRow("empty document") << 5 << 0 << QStringList{""} << 0;
    }
    void breaksPages()
    {
        QFETCH(int, perPage);
        QFETCH(int, rows);
        QFETCH(QStringList, pages);
        QFETCH(int, sheet);
        Run run;
        run.device.page_height_units = sheet;
        QCOMPARE(run.print(numbered_rows(rows), perPage), PrintOutcome::Printed);
        QCOMPARE(run.device.jobs, 1);
        QCOMPARE(run.device.pages, int(pages.size()));
        QCOMPARE(run.device.calls.count("page"), int(pages.size()) - 1);
        QCOMPARE(run.device.calls.last(), QString("end"));
        for (int p = 1; p <= pages.size(); ++p) {
            QStringList titles;
            int row_on_page = 0;
            for (const RecordingPrintDevice::Text &t : run.device.texts) {
                if (t.page != p)
                    continue;
                titles << t.text;
                // Every page starts again at the top margin, one pitch per row.
                QCOMPARE(t.y, device_units(203, 0.06 + 0.45 * row_on_page++));
            }
            QCOMPARE(titles.join(' '), pages[p - 1]);
        }
    }

    void choosesThePrinterByPartOfItsName_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("chosen"); // empty: none
        const QStringList two{"EPSON_TM", "Kitchen_80mm", "Kitchen_58mm"};
        QTest::newRow("exact") << two << "EPSON_TM"
                               << "EPSON_TM";
        QTest::newRow("part") << two << "TM"
                              << "EPSON_TM";
        QTest::newRow("two match: the first") << two << "Kitchen"
                                              << "Kitchen_80mm";
        QTest::newRow("case matters") << two << "kitchen"
                                      << "";
        QTest::newRow("no match") << two << "Star"
                                  << "";
        QTest::newRow("empty name") << two << ""
                                    << "";
        QTest::newRow("no printers") << QStringList() << "EPSON"
                                     << "";
    }
    void choosesThePrinterByPartOfItsName()
    {
        QFETCH(QStringList, installed);
        QFETCH(QString, name);
        QFETCH(QString, chosen);
        ScriptedPrompts prompts;
        RecordingPrintDevice device;
        device.installed = installed;
        const PrintOutcome outcome
            = print_document(prompts, &device, name, numbered_rows(1), 1000, 0.45, 0.06);
        if (chosen.isEmpty()) {
            QCOMPARE(outcome, PrintOutcome::NoPrinter);
            QCOMPARE(prompts.warnings, QStringList{NoPrinterText});
            QCOMPARE(device.jobs, 0);
            QVERIFY(!device.calls.join(',').contains("begin"));
            QVERIFY(device.selected.isEmpty());
        } else {
            QCOMPARE(outcome, PrintOutcome::Printed);
            QCOMPARE(device.selected, chosen);
            QVERIFY(prompts.warnings.isEmpty());
        }
    }

    void withoutADeviceNothingIsFound()
    {
        ScriptedPrompts prompts;
        QCOMPARE(print_document(prompts, nullptr, "Mivo", "[]", 1, 0.45, 0.06),
                 PrintOutcome::NoPrinter);
        QCOMPARE(prompts.warnings, QStringList{NoPrinterText});
    }

    void printSystemFailuresAreShown_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<bool>("begun");
        QTest::newRow("stopped queue") << "select" << false;
        QTest::newRow("job refused") << "begin" << false;
        QTest::newRow("job lost") << "end" << true;
    }
    void printSystemFailuresAreShown()
    {
        QFETCH(QString, step);
        QFETCH(bool, begun);
        Run run;
        const QString reason = QStringLiteral("打印机已停止");
        (step == "select"  ? run.device.fail_select
         : step == "begin" ? run.device.fail_begin
                           : run.device.fail_end)
            = reason;
        QCOMPARE(run.print(numbered_rows(2)), PrintOutcome::DeviceError);
        QCOMPARE(run.prompts.warnings.size(), 1);
        QVERIFY2(run.prompts.warnings[0].contains("Mivo_PDF")
                     && run.prompts.warnings[0].contains(reason),
                 qPrintable(run.prompts.warnings[0]));
        QCOMPARE(run.device.texts.isEmpty(), !begun);
    }

    void refusesWhatIsNoPrintDocument_data()
    {
        QTest::addColumn<QString>("json");
        QTest::newRow("broken") << R"([[{"x":"0.0","title":"a"})";
        QTest::newRow("not an array") << R"({"x":"0.0"})";
        QTest::newRow("row not an array") << R"([{"x":"0.0","title":"a"}])";
        QTest::newRow("cell not an object") << R"([["a"]])";
        QTest::newRow("empty text") << "";
    }
    void refusesWhatIsNoPrintDocument()
    {
        QFETCH(QString, json);
        Run run;
        QCOMPARE(run.print(json), PrintOutcome::BadDocument);
        QCOMPARE(run.prompts.warnings, QStringList{BadDocumentText});
        QCOMPARE(run.device.jobs, 0);
        QVERIFY(run.device.texts.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPrintDocument)
#include "tst_print_document.moc"
