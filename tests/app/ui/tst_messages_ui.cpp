// Messages are seen: a toast stands above every window, whole and centred on the
// window it reports on; message boxes speak Chinese and fit their title.

#include "app/ui/box_prompts.h"
#include "app/ui/toast.h"
#include "board/ui/tform_desk_zt.h"
#include "board/ui/tform_main.h"
#include "support/fixtures.h"
#include "support/ui/guikit.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

namespace {

QPoint centre_of(const QRect &r)
{
    return QPoint(r.x() + r.width() / 2, r.y() + r.height() / 2);
}

} // namespace

class TestMessagesUi : public QObject
{
    Q_OBJECT

private slots:
    void toastStandsAboveAnOpenDialog()
    {
        GuiProgram p;
        add_desks(p, 3);
        p.exec("UPDATE lumo_desk SET stat=1 WHERE id=2");
        TForm_main *main = p.forms->main;
        main->set_board_size(QSize(1600, 1000));
        main->show();
        TForm_desk_zt *zt = p.forms->desk_zt;
        zt->open_with("2", QString());
        QVERIFY(QTest::qWaitForWindowExposed(zt));

        // The dialog refuses to free an open table; its toast is wider than the dialog.
        GuiProgram::click(zt->findChild<QRadioButton *>("Radio_stat_0"));
        GuiProgram::click(zt->findChild<QPushButton *>("Button_save"));
        const QString refusal
            = QStringLiteral("不能更改状态，已开台和预订的桌位不能设置空闲，如需设置请结算消台");
        Toast *toast = p.forms->toast;
        QCOMPARE(toast->text(), refusal);
        // A window of its own that the window system keeps above the others, not a
        // part of one window that another can cover.
        QLabel *panel = toast->panel();
        QVERIFY(panel->isWindow());
        QCOMPARE(panel->windowType(), Qt::ToolTip);
        QVERIFY(panel->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(panel->isVisible());
        QVERIFY(panel->width() > zt->width());
        QCOMPARE(panel->width(), text_width(refusal) + 5);
        QVERIFY((centre_of(panel->geometry()) - centre_of(zt->frameGeometry())).manhattanLength()
                <= 2);

        // The main window's toast is not hidden behind the dialog either.
        main->toast(QStringLiteral("请选择一个桌号"));
        QVERIFY(zt->isVisible());
        QVERIFY((centre_of(panel->geometry()) - centre_of(main->frameGeometry())).manhattanLength()
                <= 2);
        QVERIFY(panel->isVisible());
    }

    void messageBoxesSpeakChinese()
    {
        QVERIFY2(load_qt_chinese(*QCoreApplication::instance()),
                 "Qt's Chinese translation (qt6-translations-l10n) is not installed");
        const auto box = make_message_box(QMessageBox::Question,
                                          QStringLiteral("友情提示"),
                                          QStringLiteral("确认要消台吗"),
                                          QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(box->button(QMessageBox::Ok)->text(), QString("确定"));
        QCOMPARE(box->button(QMessageBox::Cancel)->text(), QString("取消"));
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::Ok));

        // Wide enough for the title and the title bar's buttons.
        box->show();
        const int title = box->fontMetrics().horizontalAdvance(box->windowTitle());
        const int buttons = 3 * box->style()->pixelMetric(QStyle::PM_TitleBarHeight);
        QVERIFY2(box->width() >= title + buttons, qPrintable(QString::number(box->width())));
        box->hide();
    }

    // The demonstration offer, the longest question the counter asks, on one line: not
    // its last character alone on a second.
    void aSentenceStaysWhole()
    {
        const QString text = QStringLiteral(
            "系统检测到，您还没有添加基础数据，是否添加体验数据，体验后体验数据可删除");
        const auto box = make_message_box(QMessageBox::Question,
                                          QStringLiteral("友情提示"),
                                          text,
                                          QMessageBox::Ok | QMessageBox::Cancel);
        box->show();
        QCoreApplication::processEvents();
        auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        QVERIFY(label);
        QVERIFY2(label->height() < 2 * label->fontMetrics().lineSpacing(),
                 qPrintable(QString::number(label->height())));
        QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(text));
        box->hide();
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestMessagesUi t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_messages_ui.moc"
