#pragma once

#include "app/ui/toast.h"
#include "board/ui/tform_main.h"
#include "masterdata/ui/list_screen.h"
#include "masterdata/ui/tform_caipin.h"
#include "masterdata/ui/tform_cp_class.h"
#include "masterdata/ui/tform_desk.h"
#include "masterdata/ui/tform_desk_class.h"
#include "ordering/ui/tform_diancan.h"
#include "store/sqlite_db.h"
#include "support/ui/guikit.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

// The program with its windows; the master-data screens driven by clicks and keys.
struct MasterdataFixture : GuiProgram
{
    TForm_main *main() const { return forms->main; }
    TForm_desk *desk() const { return forms->desk; }
    TForm_desk_class *areas() const { return forms->desk_class; }
    TForm_cp_class *categories() const { return forms->cp_class; }
    TForm_caipin *dishes() const { return forms->caipin; }

    // The board at a known size; a refused demonstration offer leaves it empty.
    void showBoard()
    {
        if (scalar("SELECT count(*) FROM lumo_desk") == QLatin1String("0"))
            prompts->queue(false);
        main()->set_board_size(QSize(1600, 1000));
        main()->show();
    }
    void menu(int id) const
    {
        QFrame *box = main()->findChild<QFrame *>(QStringLiteral("menu_box_%1").arg(id));
        QVERIFY2(box, qPrintable(QStringLiteral("no menu entry %1").arg(id)));
        click(box);
    }
    QFrame *tile(const QString &id) const
    {
        return main()->findChild<QFrame *>("desklist_groupbox_" + id);
    }
    QFrame *areaBox(const QString &id) const
    {
        return main()->findChild<QFrame *>("desklist_class_groupbox_" + id);
    }
    int tileCount() const
    {
        int n = 0;
        for (QFrame *f : main()->findChildren<QFrame *>()) {
            const QString name = f->objectName();
            if (name.startsWith("desklist_groupbox_") && !name.contains("static"))
                ++n;
        }
        return n;
    }

    QString toast() const { return forms->toast->isShown() ? forms->toast->text() : QString(); }

    // Replaces an edit's text by typing, Chinese included (as an input method sends it).
    static void type(QWidget *screen, const QString &name, const QString &text)
    {
        auto *edit = screen->findChild<QLineEdit *>(name);
        QVERIFY2(edit, qPrintable(name));
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    static QString text(QWidget *screen, const QString &name)
    {
        return screen->findChild<QLineEdit *>(name)->text();
    }
    // Picks an entry of a choice box from its open list.
    static void choose(QWidget *screen, const QString &entry)
    {
        auto *box = screen->findChild<QComboBox *>("ComboBox1");
        const int i = box->findText(entry);
        QVERIFY2(i >= 0, qPrintable(entry));
        box->showPopup();
        QAbstractItemView *v = box->view();
        const QRect r = v->visualRect(v->model()->index(i, 0));
        QTest::mouseClick(v->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
        QTRY_VERIFY(!v->isVisible());
        QCOMPARE(box->currentText(), entry);
    }
    static QPushButton *button(QWidget *screen, const QString &name)
    {
        return screen->findChild<QPushButton *>(name);
    }
    static void press(QWidget *screen, const QString &name) { click(button(screen, name)); }
    static void save(ListScreen *s) { click(s->save_button()); }

    static void clickCell(ListScreen *s, int row, int column)
    {
        QTableWidget *t = s->list();
        QVERIFY2(row < t->rowCount(), "no such row");
        const QRect r = t->visualItemRect(t->item(row, column));
        QTest::mouseClick(t->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    }
    static void doubleClickCell(ListScreen *s, int row, int column)
    {
        QTableWidget *t = s->list();
        const QRect r = t->visualItemRect(t->item(row, column));
        // The first click of the pair, then the second one that the system reports as
        // a double-click.
        QTest::mouseClick(t->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
        QTest::mouseDClick(t->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    }
    // The texts of the list's rows, cells joined by "|" up to the icon columns.
    static QStringList rows(ListScreen *s)
    {
        QTableWidget *t = s->list();
        QStringList out;
        for (int r = 0; r < t->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < t->columnCount(); ++c) {
                const QString title = t->horizontalHeaderItem(c)->text();
                if (title != QStringLiteral("编辑") && title != QStringLiteral("删除"))
                    cells << t->item(r, c)->text();
            }
            out << cells.join('|');
        }
        return out;
    }
    static QString label(QWidget *s, const QString &name)
    {
        return s->findChild<QLabel *>(name)->text();
    }
    // The four paging buttons: 1 enabled, 0 disabled.
    static QString pagingButtons(QWidget *s)
    {
        QString out;
        for (const char *n : {"btn_first", "btn_pre", "btn_next", "btn_last"})
            out += button(s, QLatin1String(n))->isEnabled() ? '1' : '0';
        return out;
    }
    static QString captions(ListScreen *s)
    {
        return s->editor()->title() + "/" + s->save_button()->text();
    }

    QStringList db(const QString &sql) const { return TestProgram::rows(sql); }
};
