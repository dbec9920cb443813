#include "app/ini.h"
#include "app/ui/toast.h"
#include "board/ui/tform_main.h"
#include "checkout/ui/tform_defaultpay.h"
#include "printing/recording_device.h"
#include "settings/ui/tform_backup.h"
#include "settings/ui/tform_system.h"
#include "support/fixtures.h"
#include "support/ui/guikit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

// The board of a fresh program folder with two installed printers, and the
// settings window opened from the menu.
class Shop : public GuiProgram
{
public:
    Shop()
    {
        device->installed = {"Receipt_80mm", "Kitchen_80mm"};
        ctx.setPrintDevice(device);
    }
    TForm_main *main() const { return forms->main; }
    TForm_system *window() const { return forms->system; }
    void show(int desks)
    {
        add_desks(*this, desks);
        main()->set_board_size(QSize(1600, 1000));
        main()->show();
    }
    void open()
    {
        auto *entry = main()->findChild<QFrame *>("menu_box_101");
        QVERIFY(entry);
        click(entry);
        QVERIFY(window()->isVisible());
    }
    QLineEdit *edit(const QString &name) const
    {
        auto *e = window()->findChild<QLineEdit *>("Edit_" + name);
        if (!e)
            qFatal("no edit %s", qPrintable(name));
        return e;
    }
    void type(const QString &name, const QString &text) const
    {
        QLineEdit *e = edit(name);
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, text);
    }
    QComboBox *combo(const QString &name) const
    {
        return window()->findChild<QComboBox *>("Combo_" + name);
    }
    QCheckBox *check(const QString &name) const
    {
        return window()->findChild<QCheckBox *>("Check_" + name);
    }
    // On the box itself: a check box wider than its text takes clicks only there.
    void tick(const QString &name) const
    {
        QCheckBox *c = check(name);
        QTest::mouseClick(c, Qt::LeftButton, Qt::NoModifier, QPoint(8, c->height() / 2));
    }
    void press(const QString &name) const
    {
        click(window()->findChild<QPushButton *>("Button_" + name));
    }
    QString toast() const { return forms->toast->isShown() ? forms->toast->text() : QString(); }
    QString ini(const QString &section, const QString &key) const
    {
        return IniFile(ctx.paths.ini).readString(section, key, "<none>");
    }
    int shown_tiles() const
    {
        int n = 0;
        for (QFrame *f : main()->findChildren<QFrame *>()) {
            if (f->objectName().startsWith("desklist_groupbox_") && !f->isHidden()
                && !f->objectName().contains("static"))
                ++n;
        }
        return n;
    }

    std::shared_ptr<RecordingPrintDevice> device = std::make_shared<RecordingPrintDevice>();
};

class TestSystemUi : public QObject
{
    Q_OBJECT

private slots:
    void saveRelaysOutBoardAndAppliesTimer()
    {
        Shop s;
        s.show(25);
        QCOMPARE(s.main()->page_count(), 1);
        QVERIFY(!s.main()->sync_timer()->isActive());
        s.open();
        QStringList printers;
        for (int i = 0; i < s.combo("kdprintname")->count(); ++i)
            printers << s.combo("kdprintname")->itemText(i);
        QCOMPARE(printers, QStringList({"请选择打印机", "Receipt_80mm", "Kitchen_80mm"}));
        QCOMPARE(s.combo("cdprintname")->currentText(), QString("请选择打印机"));

        // Five a page, then onto page 2.
        s.type("desk_perpage", "5");
        s.press("save");
        QCOMPARE(s.toast(), QString("配置保存成功"));
        QCOMPARE(s.main()->page_count(), 5);
        GuiProgram::click(s.main()->findChild<QPushButton *>("cn_next"));
        QCOMPARE(s.main()->board_page(), 2);

        s.combo("kdprintname")->setCurrentIndex(1);
        s.type("desk_perpage", "10");
        s.type("time_tb", "3");
        s.tick("is_time_tb");
        s.press("save");
        QCOMPARE(s.toast(), QString("配置保存成功"));
        QCOMPARE(s.main()->page_count(), 3);
        QCOMPARE(s.main()->board_page(), 1);
        QCOMPARE(s.shown_tiles(), 10);
        QVERIFY(s.main()->sync_timer()->isActive());
        QCOMPARE(s.main()->sync_timer()->interval(), 3000);
        QCOMPARE(s.ini("Print", "kdprintname"), QString("Receipt_80mm"));
        QCOMPARE(s.ini("Print", "cdprintname"), QString(""));
        QCOMPARE(s.ctx.settings.kdprintname, QString("Receipt_80mm"));

        // Switched off again: the timer stops.
        s.tick("is_time_tb");
        s.press("save");
        QVERIFY(!s.main()->sync_timer()->isActive());
        QCOMPARE(s.ini("System", "is_time_tb"), QString("0"));
    }

    void refusalLeavesFileTimerAndBoard()
    {
        Shop s;
        s.show(25);
        s.open();
        const QByteArray before = contents(s.ctx.paths.ini);
        s.type("kdstr", "0.0,3.1");
        s.type("desk_perpage", "10");
        s.tick("is_time_tb");
        s.press("save");
        QCOMPARE(s.toast(), QString("客打打印机参数设置错误"));
        QCOMPARE(contents(s.ctx.paths.ini), before);
        QCOMPARE(s.main()->page_count(), 1);
        QVERIFY(!s.main()->sync_timer()->isActive());

        s.type("kdstr", "0.0,3.1,3.7");
        s.type("path", s.path("missing/shop.db"));
        s.press("save");
        QCOMPARE(s.toast(), QString("数据库路径所在的文件夹不存在，请检查数据库路径"));
        QCOMPARE(contents(s.ctx.paths.ini), before);
    }

    void showingRereadsTheFile()
    {
        Shop s;
        s.show(3);
        s.open();
        s.window()->hide();
        IniFile ini(s.ctx.paths.ini);
        QVERIFY(ini.writeString("Print", "cdstr", "0,1,2,3,4"));
        QVERIFY(ini.writeString("Print", "cdprintname", "Kitchen"));
        QVERIFY(ini.writeString("Config", "desk_perpage", "abc"));
        QVERIFY(ini.writeString("Data", "path", s.path("shared.db")));
        s.ctx.settings.cdprintname = "Kitchen";
        s.open();
        QCOMPARE(s.edit("cdstr")->text(), QString("0,1,2,3,4"));
        QCOMPARE(s.edit("desk_perpage")->text(), QString("36"));
        QCOMPARE(s.edit("path")->text(), s.path("shared.db"));
        // A part of a printer's name is kept, not replaced by "请选择打印机".
        QCOMPARE(s.combo("cdprintname")->currentText(), QString("Kitchen"));
        s.press("save");
        QCOMPARE(s.toast(), QString("配置保存成功，如数据库路径有变重，请重启软件生效"));
        QCOMPARE(s.ini("Print", "cdprintname"), QString("Kitchen"));
        QCOMPARE(s.ctx.db_path, s.ctx.paths.default_db);
    }

    void buttonsOpenTheirDialogs()
    {
        Shop s;
        s.show(1);
        s.open();
        s.press("defaultpay");
        QVERIFY(s.forms->defaultpay->isVisible());
        s.press("backup");
        QVERIFY(s.forms->backup->isVisible());
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestSystemUi t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_system_ui.moc"
