// What the counter does when the database is held by another counter or cannot be
// used at start: a clear box, the window left working, and nothing half done.

#include "app/ini.h"
#include "board/ui/desk_tile.h"
#include "board/ui/tform_desk_zt.h"
#include "board/ui/tform_main.h"
#include "staff/ui/tform_modify.h"
#include "store/schema.h"
#include "support/db_trouble.h"
#include "support/fixtures.h"
#include "support/ui/guikit.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString everything(const TestProgram &p)
{
    return dump(p, "lumo_desk") + "\n" + dump(p, "lumo_orders") + "\n"
           + dump(p, "lumo_orders_detail");
}

} // namespace

class TestDatabaseTroubleUi : public QObject
{
    Q_OBJECT

private slots:
    // A damaged file at start: the box names it and the newest backup; the cashier puts
    // the backup in its place and tries again, and the program starts on it.
    void damagedAtStartThenRestored()
    {
        TestProgram p(false);
        ensure_schema(p.ctx.db_path);
        p.exec("INSERT INTO lumo_desk(title,bh,sort) VALUES('一号桌','A1',1)");
        QDir().mkpath(p.path("backup"));
        const QString backup = p.path("backup/manual_20240302_093000.db");
        QVERIFY(QFile::copy(p.ctx.db_path, backup));
        spoil_file(
            p.ctx.db_path, -1, QByteArray("PK\x03\x04 a zip file, not a database").repeated(100));
        const QByteArray damaged = contents(p.ctx.db_path);

        int asked = 0;
        p.prompts->on_retry = [&](const QString &) {
            if (++asked == 1) {
                // Still damaged: nothing was written into it by the first attempt.
                return contents(p.ctx.db_path) == damaged;
            }
            QFile::remove(p.ctx.db_path);
            QFile::copy(backup, p.ctx.db_path);
            return true;
        };
        auto forms = create_forms(p.ctx, p.dir.path());
        QCOMPARE(asked, 2);
        const QString text = p.prompts->retries.first();
        QVERIFY2(text.startsWith(QStringLiteral("数据库文件已损坏，无法使用：\n")
                                 + QDir::toNativeSeparators(p.ctx.db_path)),
                 qPrintable(text));
        QVERIFY(text.contains(QDir::toNativeSeparators(backup)));
        QVERIFY(text.contains("file is not a database"));
        QVERIFY(p.prompts->errors.isEmpty());
        QVERIFY(forms->main->started());
        QCOMPARE(p.scalar("SELECT bh FROM lumo_desk"), QString("A1"));

        // Shown, the window has its menu bar.
        forms->main->set_board_size(QSize(1400, 900));
        forms->main->show();
        QVERIFY(!forms->main->findChildren<QFrame *>(QRegularExpression("^menu_box_[0-9]+$"))
                     .isEmpty());
    }

    // The cashier chooses to quit: no window is left to show.
    void quitAtStart()
    {
        TestProgram p(false);
        QDir().mkpath(p.path("config"));
        IniFile(p.ctx.paths.ini).writeString("Data", "path", p.path("gone/tavira.db"));
        auto forms = create_forms(p.ctx, p.dir.path());
        QCOMPARE(p.prompts->retries.size(), 1);
        QVERIFY(p.prompts->retries.first().contains(QDir::toNativeSeparators(p.path("gone"))));
        QVERIFY(!forms->main->started());
        QVERIFY(!QDir(p.path("gone")).exists());
    }

    // Another counter writes for longer than the busy timeout: opening a table shows
    // the busy message with the detail below it, and writes nothing.
    void busyWriteFromADialog()
    {
        GuiProgram p;
        add_desks(p, 2);
        const QString before = everything(p);
        TForm_desk_zt *zt = p.forms->desk_zt;
        zt->open_with("1", QString());
        zt->findChild<QLineEdit *>("Edit_nums")->setText("3");
        GuiProgram::click(zt->findChild<QRadioButton *>("Radio_stat_1"));
        {
            LockHolder other(p.ctx.db_path, "IMMEDIATE");
            QVERIFY(other.held());
            GuiProgram::click(zt->findChild<QPushButton *>("Button_save"));
        }
        QCOMPARE(p.prompts->errors.size(), 1);
        QVERIFY2(p.prompts->errors.first().startsWith(QStringLiteral("数据库正忙，请稍后再试\n\n")),
                 qPrintable(p.prompts->errors.first()));
        QCOMPARE(everything(p), before);
    }

    // A tile click whose reads fail under another counter's lock changes nothing: the
    // table selected before stays the current one and stays marked.
    void failedTileClickKeepsTheSelection()
    {
        GuiProgram p;
        add_desks(p, 3);
        TForm_main *main = p.forms->main;
        main->set_board_size(QSize(1400, 900));
        main->show();
        const auto tile = [&](const QString &id) {
            return main->findChild<DeskTile *>("desklist_groupbox_" + id);
        };
        GuiProgram::click(tile("1"));
        QCOMPARE(p.ctx.desk_id, QString("1"));
        {
            LockHolder other(p.ctx.db_path, "EXCLUSIVE");
            QVERIFY(other.held());
            GuiProgram::click(tile("2"));
        }
        QCOMPARE(p.prompts->errors.size(), 1);
        QVERIFY(p.prompts->errors.first().startsWith(QStringLiteral("数据库正忙，请稍后再试")));
        QCOMPARE(p.ctx.desk_id, QString("1"));
        QCOMPARE(p.ctx.desk_bh, QString("01"));
        QVERIFY(tile("1")->selected());
        QVERIFY(!tile("2")->selected());

        // Once the lock is gone the same click works.
        GuiProgram::click(tile("2"));
        QCOMPARE(p.ctx.desk_id, QString("2"));
        QVERIFY(tile("2")->selected());
        QVERIFY(!tile("1")->selected());
    }

    // The configuration file takes no writes: the login box signs in for this run and
    // says that the next start will ask again; so does a new password in the profile.
    void loginThatCannotBeRemembered()
    {
        GuiProgram p;
        TForm_main *main = p.forms->main;
        main->set_board_size(QSize(1400, 900));
        main->show();
        ReadOnlyPath read_only(p.ctx.paths.ini);
        if (!read_only.ok())
            QSKIP("this system cannot make a file read-only for this process");
        main->findChild<QLineEdit *>("login_name")->setText("admin");
        main->findChild<QLineEdit *>("login_password")->setText(AdminInitialPassword);
        GuiProgram::click(main->findChild<QPushButton *>("login_button"));
        QCOMPARE(p.ctx.account.username, QString("admin"));
        QCOMPARE(p.prompts->warnings.size(), 1);
        QVERIFY2(p.prompts->warnings.first().contains("无法记住登录"),
                 qPrintable(p.prompts->warnings.first()));
        QVERIFY(p.prompts->warnings.first().contains(QDir::toNativeSeparators(p.ctx.paths.ini)));

        // Nor can a new password from the profile: the next start will ask for it.
        GuiProgram::click(main->findChild<QWidget *>("menu_box_111"));
        TForm_modify *modify = p.forms->modify;
        QVERIFY(modify->isVisible());
        modify->findChild<QLineEdit *>("password")->setText("newpass1");
        GuiProgram::click(modify->findChild<QPushButton *>("save"));
        QCOMPARE(p.prompts->warnings.size(), 2);
        QVERIFY2(p.prompts->warnings.last().contains("下次启动需要用新密码重新登录"),
                 qPrintable(p.prompts->warnings.last()));
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestDatabaseTroubleUi t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_database_trouble_ui.moc"
