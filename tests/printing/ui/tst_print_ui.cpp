#include "app/ui/toast.h"
#include "board/ui/tform_desk_zhuantai.h"
#include "board/ui/tform_main.h"
#include "printing/print_document.h"
#include "printing/recording_device.h"
#include "printing/ui/tform_chuda.h"
#include "store/sqlite_db.h"
#include "support/fixtures.h"
#include "support/ui/guikit.h"
#include "support/ui/print_counter.h"

#include <QApplication>
#include <QFrame>
#include <QPushButton>
#include <QRadioButton>

namespace {

// Remembers whether the print button was enabled while the job ran.
class WatchingDevice : public RecordingPrintDevice
{
public:
    bool begin(const QString &title) override
    {
        if (button)
            button_enabled_while_printing = button->isEnabled();
        return RecordingPrintDevice::begin(title);
    }
    QPushButton *button = nullptr;
    bool button_enabled_while_printing = true;
};

// The board with tables 01 and 02, each with an open order: table 01 has a new
// and a served line, table 02 one new line.
class Counter : public PrintCounter<WatchingDevice>
{
public:
    explicit Counter(int desks = 2)
        : PrintCounter(desks)
    {
        const QString one = open_order(*this, 1);
        add_line(*this, one, "宫保鸡丁", "18.5", "2", "0");
        add_line(*this, one, "米饭", "3", "1", "3");
        add_line(*this, open_order(*this, 2), "可乐", "5", "1", "0");
        show_board();
        device->button = chuda()->findChild<QPushButton *>("chuda_print");
    }
    TForm_chuda *chuda() const { return forms->chuda; }
    void select(const QString &desk) const
    {
        click(forms->main->findChild<QFrame *>("desklist_groupbox_" + desk));
    }
    QRadioButton *option(const char *name) const
    {
        return chuda()->findChild<QRadioButton *>(name);
    }
    // Clicks an option on its indicator: only the indicator and caption take clicks.
    void choose(const char *name) const
    {
        QRadioButton *r = option(name);
        QTest::mouseClick(r, Qt::LeftButton, Qt::NoModifier, QPoint(8, r->height() / 2));
        QVERIFY(r->isChecked());
    }
    void print() const { click(chuda()->findChild<QPushButton *>("chuda_print")); }
    QString toast() const { return forms->toast->isShown() ? forms->toast->text() : QString(); }
};

} // namespace

class TestPrintUi : public QObject
{
    Q_OBJECT
private slots:
    void receiptAfterTheConfirmation_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK prints") << true;
        QTest::newRow("Cancel prints nothing") << false;
    }
    void receiptAfterTheConfirmation()
    {
        QFETCH(bool, ok);
        Counter c;
        c.select("1");
        c.prompts->queue(ok);
        c.menu(51);
        QCOMPARE(c.prompts->confirms, QStringList{"确定要打印当前订单详情吗"});
        QCOMPARE(c.device->jobs, ok ? 1 : 0);
        if (ok) {
            QCOMPARE(c.device->selected, QString("Receipt_80"));
            const QStringList texts = c.printed();
            QCOMPARE(texts.mid(0, 2), QStringList({"匿名店铺", "桌号：01"}));
            QVERIFY2(texts.contains("宫保鸡丁") && texts.contains("37.00")
                         && !texts.contains("可乐"),
                     qPrintable(texts.join(',')));
        }
        QVERIFY(c.prompts->warnings.isEmpty());
    }

    void receiptWithoutPrinterTellsAndGoesOn()
    {
        Counter c;
        c.device->installed.clear();
        c.select("1");
        c.menu(51);
        QCOMPARE(c.prompts->warnings, QStringList{NoPrinterText});
        QCOMPARE(c.device->jobs, 0);
        // The counter keeps working: the next entry still answers.
        c.menu(54);
        QVERIFY(c.chuda()->isVisible());
    }

    // The dialog prints the table it was opened for, with the option last chosen.
    void kitchenTicketOfTheTableItWasOpenedFor()
    {
        Counter c;
        c.select("1");
        c.menu(54);
        QVERIFY(c.chuda()->isVisible());
        QCOMPARE(c.chuda()->mydeskid, QString("1"));
        QCOMPARE(c.chuda()->mydekno, QString("01"));
        QCOMPARE(c.chuda()->myrootid, QString());
        QVERIFY(c.option("chuda_new")->isChecked());

        c.select("2"); // the board moves on meanwhile
        c.choose("chuda_served");
        c.print();
        QCOMPARE(c.toast(), QString("正在打印中"));
        QVERIFY(!c.device->button_enabled_while_printing);
        QVERIFY(c.device->button->isEnabled());
        QVERIFY(!c.chuda()->isVisible());
        QCOMPARE(c.device->selected, QString("Kitchen_80"));
        const QStringList texts = c.printed();
        QCOMPARE(texts.mid(0, 2), QStringList({"匿名店铺", "桌号：01"}));
        QVERIFY2(texts.contains("米饭") && !texts.contains("宫保鸡丁") && !texts.contains("可乐"),
                 qPrintable(texts.join(',')));

        c.menu(54); // table 02 now
        QCOMPARE(c.chuda()->mydekno, QString("02"));
        QVERIFY(c.option("chuda_served")->isChecked());
        c.choose("chuda_all");
        c.print();
        QVERIFY(c.printed().contains("可乐"));
    }

    void kitchenFailuresStillReleaseTheDialog_data()
    {
        QTest::addColumn<bool>("printerInstalled");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("message");
        QTest::newRow("no printer") << false << "chuda_new" << NoPrinterText;
        QTest::newRow("nothing returned") << true << "chuda_returned"
                                          << "未找到相关订单信息";
    }
    void kitchenFailuresStillReleaseTheDialog()
    {
        QFETCH(bool, printerInstalled);
        QFETCH(QString, option);
        QFETCH(QString, message);
        Counter c;
        if (!printerInstalled)
            c.device->installed.clear();
        c.select("1");
        c.menu(54);
        c.choose(qPrintable(option));
        c.print();
        QCOMPARE(c.prompts->warnings, QStringList{message});
        QCOMPARE(c.device->jobs, 0);
        QVERIFY(c.device->button->isEnabled());
        QVERIFY(!c.chuda()->isVisible());
    }

    // The guests of table 01 move to the free table 03 while the dialog is open: a
    // ticket for the table's open order follows them; a past order's stays at 01.
    void kitchenTicketFollowsATransfer_data()
    {
        QTest::addColumn<bool>("pastOrder");
        QTest::addColumn<QString>("bh");
        QTest::addColumn<QString>("dish");
        QTest::newRow("open order") << false << "03"
                                    << "宫保鸡丁";
        QTest::newRow("past order") << true << "01"
                                    << "面条";
    }
    void kitchenTicketFollowsATransfer()
    {
        QFETCH(bool, pastOrder);
        Counter c(3);
        c.exec("UPDATE lumo_desk SET stat=1 WHERE id IN(1,2)");
        const QString past = open_order(c, 1);
        add_line(c, past, "面条", "12", "1", "0");
        c.exec("UPDATE lumo_orders SET iscal=1 WHERE id=" + past);
        c.select("1");
        c.menu(54);
        if (pastOrder)
            c.chuda()->open_with("1", past);
        c.choose("chuda_all");

        TForm_desk_zhuantai *d = c.forms->desk_zhuantai;
        d->open_with("1", QString());
        GuiProgram::click(d->findChild<QRadioButton *>("zhuantai_radio_3"));
        c.prompts->queue(true);
        GuiProgram::click(d->findChild<QPushButton *>("Button_zhuantai"));
        QCOMPARE(c.prompts->infos, QStringList{"转台成功"});

        c.print();
        QVERIFY2(c.prompts->warnings.isEmpty(), qPrintable(c.prompts->warnings.join(',')));
        QFETCH(QString, bh);
        QFETCH(QString, dish);
        const QStringList texts = c.printed();
        QCOMPARE(texts.mid(0, 2), QStringList({"匿名店铺", "桌号：" + bh}));
        QVERIFY2(texts.contains(dish), qPrintable(texts.join(',')));
    }

    // A reprint of a past order's ticket does not stick: the board's entry prints
    // the table's open order again.
    void boardEntryForgetsAnEarlierOrder()
    {
        Counter c;
        TSQLiteDatabase(c.ctx.db_path).ExecSQL("UPDATE lumo_orders SET iscal=1 WHERE deskid=2");
        const QString past = c.scalar("SELECT id FROM lumo_orders WHERE deskid=2");
        add_line(c, open_order(c, 2), "雪碧", "5", "1", "0");
        c.chuda()->open_with("2", past);
        c.choose("chuda_all");
        c.print();
        QVERIFY(c.printed().contains("可乐"));
        c.select("2");
        c.menu(54);
        QCOMPARE(c.chuda()->myrootid, QString());
        c.print();
        QCOMPARE(c.printed().count("可乐"), 1);
        QVERIFY(c.printed().contains("雪碧"));
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestPrintUi t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_print_ui.moc"
