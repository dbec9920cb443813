#include "app/ini.h"
#include "app/ui/toast.h"
#include "board/ui/tform_main.h"
#include "settings/backup.h"
#include "settings/ui/tform_backup.h"
#include "settings/ui/tform_system.h"
#include "support/fixtures.h"
#include "support/ui/guikit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>

// The backup dialog of a fresh program folder with three tables, opened from the
// settings window.
class Backups : public GuiProgram
{
public:
    Backups()
    {
        add_desks(*this, 3);
        forms->main->set_board_size(QSize(1600, 1000));
        forms->main->show();
        click(forms->main->findChild<QFrame *>("menu_box_101"));
        click(forms->system->findChild<QPushButton *>("Button_backup"));
    }
    TForm_backup *dialog() const { return forms->backup; }
    QTableWidget *list() const { return dialog()->findChild<QTableWidget *>("Grid_backups"); }
    QPushButton *button(const QString &name) const
    {
        return dialog()->findChild<QPushButton *>(name);
    }
    QString toast() const { return forms->toast->isShown() ? forms->toast->text() : QString(); }
    QString folder() const { return backup_folder(ctx.paths); }
    QStringList row(int r) const
    {
        QStringList cells;
        for (int c = 0; c < 4; ++c)
            cells << list()->item(r, c)->text();
        return cells;
    }
    int tiles() const
    {
        int n = 0;
        for (QFrame *f : forms->main->findChildren<QFrame *>())
            n += QRegularExpression("^desklist_groupbox_\\d+$").match(f->objectName()).hasMatch();
        return n;
    }
    // "手动备份" and wait for it to finish.
    void backup_now()
    {
        click(button("Button_manual"));
        QVERIFY(!button("Button_manual")->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(button("Button_manual")->isEnabled(), 10000);
    }
};

class TestBackupUi : public QObject
{
    Q_OBJECT

private slots:
    void manualBackupIsListed()
    {
        Backups b;
        QVERIFY(b.dialog()->isVisible());
        QCOMPARE(b.list()->rowCount(), 0);
        QStringList headers;
        for (int c = 0; c < 5; ++c)
            headers << b.list()->horizontalHeaderItem(c)->text();
        QCOMPARE(headers, QStringList({"编号", "文件名称", "备份时间", "文件大小", "操作"}));

        b.backup_now();
        QCOMPARE(b.toast(), QString("备份完成"));
        QCOMPARE(b.dialog()->findChild<QProgressBar *>("ProgressBar_backup")->value(), 100);
        QCOMPARE(b.list()->rowCount(), 1);
        const QString file = b.folder() + "manual_20240305_140709.db";
        QCOMPARE(b.row(0),
                 QStringList({"1",
                              "manual_20240305_140709.db",
                              "2024-03-05 14:07:09",
                              size_text(QFileInfo(file).size())}));
        QCOMPARE(check_backup_file(file), QString());

        // Another one a minute later comes first.
        b.clock->ms += 60 * 1000;
        b.backup_now();
        QCOMPARE(b.list()->rowCount(), 2);
        QCOMPARE(b.row(0).at(1), QString("manual_20240305_140809.db"));
        QCOMPARE(b.row(1).at(0), QString("2"));
    }

    void restoreAsksAndBringsBackTheBoard()
    {
        Backups b;
        b.backup_now();
        b.exec("DELETE FROM lumo_desk WHERE id=3");
        b.exec("UPDATE lumo_desk SET stat=1 WHERE id=1");
        b.forms->main->reload_board();
        QCOMPARE(b.tiles(), 2);
        const QString changed = dump(b, "lumo_desk");

        b.prompts->queue(false);
        GuiProgram::click(b.button("Button_restore_1"));
        QCOMPARE(b.prompts->confirms.size(), 1);
        QVERIFY(b.prompts->confirms.first().contains("manual_20240305_140709.db"));
        QCOMPARE(dump(b, "lumo_desk"), changed);

        b.prompts->queue(true);
        GuiProgram::click(b.button("Button_restore_1"));
        QCOMPARE(b.scalar("SELECT count(*) FROM lumo_desk"), QString("3"));
        QCOMPARE(b.scalar("SELECT stat FROM lumo_desk WHERE id=1"), QString("0"));
        QCOMPARE(b.tiles(), 3);
        const QString aside = b.ctx.db_path + ".before_restore_20240305_140709";
        QVERIFY(QFile::exists(aside));
        QCOMPARE(b.toast(),
                 QString("恢复成功，原数据库已另存为：tavira.db.before_restore_20240305_140709"));
        QVERIFY(b.prompts->warnings.isEmpty());
    }

    void corruptBackupIsRefused()
    {
        Backups b;
        QVERIFY(QDir().mkpath(b.folder()));
        QFile f(b.folder() + "manual_20240301_090000.db");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(8192, '\x17'));
        f.close();
        b.dialog()->load_list();
        const QString before = dump(b, "lumo_desk");
        b.prompts->queue(true);
        GuiProgram::click(b.button("Button_restore_1"));
        QCOMPARE(b.prompts->warnings, QStringList({"备份文件已损坏，不是有效的数据库文件"}));
        QCOMPARE(dump(b, "lumo_desk"), before);
        QVERIFY(!QFile::exists(b.ctx.db_path + ".before_restore_20240305_140709"));
    }

    void deleteAsksFirst()
    {
        Backups b;
        b.backup_now();
        b.prompts->queue(false);
        GuiProgram::click(b.button("Button_delete_1"));
        QCOMPARE(b.list()->rowCount(), 1);
        b.prompts->queue(true);
        GuiProgram::click(b.button("Button_delete_1"));
        QCOMPARE(b.list()->rowCount(), 0);
        QVERIFY(!QFile::exists(b.folder() + "manual_20240305_140709.db"));
    }

    void switchAndHourAreWrittenAtOnce()
    {
        Backups b;
        auto *box = b.dialog()->findChild<QCheckBox *>("Check_isautobackup");
        auto *hour = b.dialog()->findChild<QComboBox *>("Combo_backuph");
        QVERIFY(!box->isChecked());
        QCOMPARE(hour->currentText(), QString("5"));
        QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(8, box->height() / 2));
        hour->setCurrentIndex(23);
        const IniFile ini(b.ctx.paths.ini);
        QCOMPARE(ini.readString("Config", "isautobackup"), QString("1"));
        QCOMPARE(ini.readString("Config", "backuph"), QString("23"));
        QCOMPARE(b.ctx.settings.isautobackup, 1);
        QCOMPARE(b.ctx.settings.backuph, 23);

        // With a few backups listed, for the screenshot.
        b.backup_now();
        b.clock->ms += 3600 * 1000;
        b.backup_now();
        const QString dir = qEnvironmentVariable("MIVO_SCREENSHOT_DIR");
        if (!dir.isEmpty()) {
            QVERIFY(b.dialog()->grab().save(QDir(dir).filePath("backup-dialog.png")));
            QVERIFY(b.forms->system->grab().save(QDir(dir).filePath("settings-window.png")));
        }
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestBackupUi t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_backup_ui.moc"
