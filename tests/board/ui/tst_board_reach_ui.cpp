// Nothing on the board and its dialogs is out of reach or looks pressable when it
// is not: tiles stand whole left of the order panel, the transfer dialog stays on
// the screen with any number of tables, disabled paging buttons are grey.

#include "board/ui/tform_desk_zhuantai.h"
#include "board/ui/tform_main.h"
#include "support/fixtures.h"
#include "support/ui/guikit.h"

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>

class TestBoardReachUi : public QObject
{
    Q_OBJECT

private slots:
    void tilesStandWholeLeftOfThePanel_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("perRow");
        QTest::newRow("1600") << 1600 << 7;
        QTest::newRow("1920") << 1920 << 8;
        QTest::newRow("1925") << 1925 << 9;
    }
    void tilesStandWholeLeftOfThePanel()
    {
        QFETCH(int, width);
        QFETCH(int, perRow);
        GuiProgram p;
        add_desks(p, 36);
        TForm_main *main = p.forms->main;
        main->set_board_size(QSize(width, 1080));
        main->show();
        QCOMPARE(main->tiles_per_row(), perRow);
        const QWidget *panel = main->findChild<QWidget *>("order_panel");
        int right = 0;
        for (int i = 1; i <= 36; ++i) {
            QWidget *tile
                = main->findChild<QWidget *>(QStringLiteral("desklist_groupbox_%1").arg(i));
            const QRect on_window(tile->mapTo(main, QPoint(0, 0)), tile->size());
            right = std::max(right, on_window.right());
        }
        QVERIFY2(right < panel->x(), qPrintable(QString::number(right)));
        const QString dir = qEnvironmentVariable("MIVO_SCREENSHOT_DIR");
        if (!dir.isEmpty() && perRow == 9)
            QVERIFY(main->grab().save(QDir(dir).filePath("board_nine_columns.png")));
    }

    void transferDialogStaysOnScreenWithManyTables()
    {
        GuiProgram p;
        add_desks(p, 250);
        p.exec("UPDATE lumo_desk SET stat=1 WHERE id=1");
        TForm_main *main = p.forms->main;
        main->set_board_size(QSize(1920, 1080));
        main->show();
        TForm_desk_zhuantai *d = p.forms->desk_zhuantai;
        d->open_with("1", QString());

        // However many tables, the dialog is no higher than the screen and stands on it.
        const QRect screen = main->screen()->availableGeometry();
        const QRect frame = d->frameGeometry();
        QVERIFY2(frame.top() >= screen.top() && frame.bottom() <= screen.bottom(),
                 qPrintable(QStringLiteral("%1 px from %2 on a screen %3 px high")
                                .arg(frame.height())
                                .arg(frame.top())
                                .arg(screen.height())));
        auto *button = d->findChild<QPushButton *>("Button_zhuantai");
        QVERIFY(d->rect().contains(button->geometry()));

        // The last table is reached by scrolling, and can be chosen.
        auto *scroll = d->findChild<QScrollArea *>("zhuantai_scroll");
        QVERIFY(d->findChild<QGroupBox *>("GroupBox_gldesk")->rect().contains(scroll->geometry()));
        auto *last = d->findChild<QRadioButton *>("zhuantai_radio_250");
        scroll->ensureWidgetVisible(last);
        QVERIFY(scroll->viewport()->rect().contains(
            QRect(last->mapTo(scroll->viewport(), QPoint(0, 0)), last->size())));
        GuiProgram::click(last);
        p.prompts->queue(true);
        GuiProgram::click(button);
        QCOMPARE(p.prompts->infos, QStringList{"转台成功"});
        QCOMPARE(p.scalar("SELECT stat FROM lumo_desk WHERE id=250"), QString("1"));

        const QString dir = qEnvironmentVariable("MIVO_SCREENSHOT_DIR");
        if (!dir.isEmpty())
            QVERIFY(d->grab().save(QDir(dir).filePath("transfer_250_tables.png")));
    }

    void disabledPagingButtonsAreGrey()
    {
        GuiProgram p;
        add_desks(p, 40);
        TForm_main *main = p.forms->main;
        main->set_board_size(QSize(1600, 1000));
        main->show();
        auto *pre = main->findChild<QPushButton *>("cn_pre");
        auto *next = main->findChild<QPushButton *>("cn_next");
        QVERIFY(!pre->isEnabled());
        QVERIFY(next->isEnabled());
        const auto fill = [](QPushButton *b) {
            return b->grab().toImage().pixelColor(6, 6);
        };
        // Enabled green; disabled without colour, so it does not look pressable.
        QCOMPARE(fill(next), QColor("#87B87F"));
        const QColor grey = fill(pre);
        QCOMPARE(grey.hsvSaturation(), 0);
        QVERIFY(grey != fill(next));
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestBoardReachUi t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_board_reach_ui.moc"
