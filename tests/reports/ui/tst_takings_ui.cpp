// The "营业统计" window driven through its buttons: a named period, a shift typed
// by hand, printing on the receipt printer and the CSV export.
#include "app/ui/toast.h"
#include "board/ui/tform_main.h"
#include "printing/recording_device.h"
#include "reports/ui/tform_takings.h"
#include "support/ui/guikit.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>

namespace {

// The program's clock stands at 2024-03-05 14:07:09. One cash dinner this morning
// (鱼 x2, 酒 x1: 70.00 for 2 guests) and a card dinner yesterday evening (36.00).
class Takings : public GuiProgram
{
public:
    Takings()
    {
        exec("INSERT INTO lumo_caipin_class(id,title) VALUES(1,'热菜')");
        exec("INSERT INTO lumo_caipin(id,title,price,cid) VALUES(1,'鱼','30',1)");
        const qint64 today = wall_ms(2024, 3, 5, 10, 0, 0) / 1000;
        const qint64 yesterday = wall_ms(2024, 3, 4, 20, 0, 0) / 1000;
        exec(QStringLiteral("INSERT INTO lumo_orders(id,title,deskid,allprice,price,iscal,tid,"
                            "nums,paytype,paytime) VALUES(1,'订单名称',1,70,70,1,0,2,5,%1),"
                            "(2,'订单名称',1,36,36,1,0,3,6,%2)")
                 .arg(today)
                 .arg(yesterday));
        exec("INSERT INTO lumo_orders_detail(rootid,caipinid,title,oneprice,quantity,stat,iscal) "
             "VALUES(1,1,'鱼',30,2,3,1),(1,0,'酒',10,1,3,1),(2,1,'鱼',30,1,3,1),"
             "(2,0,'饭',6,1,3,1)");
        forms->main->set_board_size(QSize(1600, 1000));
        forms->main->show();
    }

    TForm_takings *window() const { return forms->takings; }
    template<class T> T *find(const QString &name) const
    {
        T *w = window()->findChild<T *>(name);
        if (!w)
            qWarning("no %s", qPrintable(name));
        return w;
    }
    void press(const QString &name) const { click(find<QPushButton>(name)); }
    // The figure rows as "label|count|value".
    QStringList figures() const
    {
        QStringList out;
        const QTableWidget *t = find<QTableWidget>("takings_figures");
        for (int r = 0; r < t->rowCount(); ++r)
            out << t->item(r, 0)->text() + '|' + t->item(r, 1)->text() + '|'
                       + t->item(r, 2)->text();
        return out;
    }
    QStringList dishes() const
    {
        QStringList out;
        const QTableWidget *t = find<QTableWidget>("takings_dishes");
        for (int r = 0; r < t->rowCount(); ++r)
            out << t->item(r, 0)->text() + '|' + t->item(r, 2)->text() + '|'
                       + t->item(r, 3)->text();
        return out;
    }
    QString toast() const { return forms->toast->isShown() ? forms->toast->text() : QString(); }
};

} // namespace

class TstTakingsUi : public QObject
{
    Q_OBJECT
private slots:
    void todayFromTheMenu();
    void freeRange();
    void printAndExport();
};

void TstTakingsUi::todayFromTheMenu()
{
    Takings t;
    // The administrator's menu has the entry beside "订单".
    QFrame *entry = t.forms->main->findChild<QFrame *>("menu_box_53");
    QVERIFY(entry);
    QCOMPARE(entry->x() - t.forms->main->findChild<QFrame *>("menu_box_52")->x(), 79);
    Takings::click(entry);
    QVERIFY(t.window()->isVisible());
    QCOMPARE(t.window()->windowTitle(), QStringLiteral("营业统计"));

    // Opening shows today; "昨天" then "今天" switch the period and the figures.
    t.press("takings_yesterday");
    QCOMPARE(t.find<QLabel>("takings_period")->text(),
             QStringLiteral("统计时段：2024-03-04 00:00:00 至 2024-03-04 23:59:59"));
    QVERIFY(t.figures().contains("银行卡|1|36.00"));
    t.press("takings_today");
    QCOMPARE(t.find<QLabel>("takings_period")->text(),
             QStringLiteral("统计时段：2024-03-05 00:00:00 至 2024-03-05 23:59:59"));
    QCOMPARE(t.find<QDateTimeEdit>("takings_from")->dateTime().toString("yyyy-MM-dd HH:mm:ss"),
             QStringLiteral("2024-03-05 00:00:00"));
    QCOMPARE(t.find<QDateTimeEdit>("takings_to")->dateTime().toString("yyyy-MM-dd HH:mm:ss"),
             QStringLiteral("2024-03-05 23:59:59"));
    const QStringList f = t.figures();
    for (const QString &row : {QStringLiteral("订单数||1"),
                               QStringLiteral("用餐人数||2"),
                               QStringLiteral("人均消费||35.00"),
                               QStringLiteral("现金|1|70.00"),
                               QStringLiteral("实收合计|1|70.00")})
        QVERIFY2(f.contains(row), qPrintable(row + " in " + f.join(", ")));
    QVERIFY(!f.contains("银行卡|1|36.00"));
    QCOMPARE(t.dishes(), QStringList({"鱼|2|60.00", "酒|1|10.00"}));
}

void TstTakingsUi::freeRange()
{
    Takings t;
    t.forms->main->ClickTakings();
    auto *from = t.find<QDateTimeEdit>("takings_from");
    auto *to = t.find<QDateTimeEdit>("takings_to");
    // A shift from yesterday 19:00 to this morning 10:00:00, both ends included.
    from->setDateTime(QDateTime(QDate(2024, 3, 4), QTime(19, 0), Qt::UTC));
    to->setDateTime(QDateTime(QDate(2024, 3, 5), QTime(10, 0), Qt::UTC));
    t.press("takings_query");
    QCOMPARE(t.find<QLabel>("takings_period")->text(),
             QStringLiteral("统计时段：2024-03-04 19:00:00 至 2024-03-05 10:00:00"));
    QVERIFY(t.figures().contains("实收合计|2|106.00"));
    QCOMPARE(t.dishes(), QStringList({"鱼|3|90.00", "酒|1|10.00", "饭|1|6.00"}));

    // One second less leaves out this morning's dinner.
    to->setDateTime(QDateTime(QDate(2024, 3, 5), QTime(9, 59, 59), Qt::UTC));
    t.press("takings_query");
    QVERIFY(t.figures().contains("实收合计|1|36.00"));

    // An end before the start is refused and the figures stay.
    to->setDateTime(QDateTime(QDate(2024, 3, 4), QTime(18, 0), Qt::UTC));
    t.press("takings_query");
    QCOMPARE(t.toast(), QStringLiteral("结束时间不能早于开始时间"));
    QVERIFY(t.figures().contains("实收合计|1|36.00"));
}

void TstTakingsUi::printAndExport()
{
    Takings t;
    auto device = std::make_shared<RecordingPrintDevice>();
    device->installed = {"Receipt_80mm"};
    t.ctx.setPrintDevice(device);
    t.ctx.settings.kdprintname = "Receipt";
    t.ctx.settings.shopname = "小馆";
    t.forms->main->ClickTakings();
    t.press("takings_today");

    t.press("takings_print");
    QCOMPARE(device->jobs, 1);
    const QStringList page = device->page_texts(1);
    QCOMPARE(page.first(), QStringLiteral("0 4 小馆"));
    QVERIFY(page.contains("0 76 起：2024-03-05 00:00:00"));
    // The cash line: label with its count in the first column, amount in the third.
    const qsizetype cash = page.indexOf(QRegularExpression("^0 \\d+ 现金 1笔$"));
    QVERIFY(cash > 0);
    const QString y = page[cash].section(' ', 1, 1);
    QCOMPARE(page.mid(cash, 2), QStringList({"0 " + y + " 现金 1笔", "295 " + y + " 70.00"}));
    QVERIFY(page.last().endsWith("打印时间：2024-03-05 14:07"));
    QCOMPARE(t.toast(), QStringLiteral("打印完成"));

    // No matching printer: the print system's message, no job.
    t.ctx.settings.kdprintname = "Kitchen";
    t.press("takings_print");
    QCOMPARE(device->jobs, 1);
    QCOMPARE(t.prompts->warnings.last(),
             QStringLiteral("没有找到打印机，请在系统设置中设置好打印机"));

    // Export to the chosen file, read back.
    const QString path = t.path("今天.csv");
    t.window()->set_export_path_source([&] { return path; });
    t.press("takings_export");
    QCOMPARE(t.toast(), QStringLiteral("导出成功"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split("\r\n");
    QVERIFY(lines.contains("现金,1,70.00"));
    QVERIFY(lines.contains("鱼,热菜,2,60.00"));

    // A file that cannot be written: a warning with the reason; the dialog cancelled: nothing.
    t.window()->set_export_path_source([&] { return t.path("no/such/folder/x.csv"); });
    t.press("takings_export");
    QVERIFY(t.prompts->warnings.last().startsWith("导出失败："));
    const int warnings = int(t.prompts->warnings.size());
    t.window()->set_export_path_source([] { return QString(); });
    t.press("takings_export");
    QCOMPARE(t.prompts->warnings.size(), warnings);
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TstTakingsUi t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_takings_ui.moc"
