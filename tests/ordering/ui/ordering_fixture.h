#pragma once

#include "app/ui/toast.h"
#include "ordering/ui/dish_tile.h"
#include "ordering/ui/tform_caipin_zuofa.h"
#include "ordering/ui/tform_diancan.h"
#include "ordering/ui/tform_gaijia.h"
#include "store/sqlite_db.h"
#include "support/ui/guikit.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableWidget>

// The ordering screen over an open table "A1" with the dishes a test adds.
struct OrderingFixture
{
    explicit OrderingFixture(int stat = 1)
    {
        p.exec(QStringLiteral("INSERT INTO lumo_desk(title,bh,stat,price) VALUES('大厅','A1',%1,"
                              "'0.0')")
                   .arg(stat));
        desk = p.scalar("SELECT max(id) FROM lumo_desk");
        p.ctx.desk_id = desk;
        p.ctx.desk_bh = "A1";
        screen = p.forms->diancan;
        zuofa = p.forms->caipin_zuofa;
        gaijia = p.forms->gaijia;
    }

    void dish(int id,
              const QString &title,
              const QString &titleen,
              const QString &price,
              int cid = 1) const
    {
        TSQLiteDatabase db(p.ctx.db_path);
        db.ExecSQL("INSERT INTO lumo_caipin(id,title,titleen,price,cid,stock) VALUES(?,?,?,?,?,99)",
                   {id, title, titleen, price, cid});
    }
    void method(int id, int dish, const QString &title) const
    {
        TSQLiteDatabase db(p.ctx.db_path);
        db.ExecSQL("INSERT INTO lumo_caipin_zuofa(id,title,rootid) VALUES(?,?,?)",
                   {id, title, dish});
    }
    void category(int id, const QString &title, int sort) const
    {
        TSQLiteDatabase db(p.ctx.db_path);
        db.ExecSQL("INSERT INTO lumo_caipin_class(id,title,sort) VALUES(?,?,?)", {id, title, sort});
    }

    // Shows the screen as the menu entry does: 90% of a 1280 x 800 main window.
    void open() const
    {
        screen->resize(1152, 720);
        screen->open_with(desk, QString());
    }

    DishTile *tile(int id) const
    {
        return screen->findChild<DishTile *>("box_caipin_" + QString::number(id));
    }
    QLabel *label(const QString &name) const { return screen->findChild<QLabel *>(name); }

    // The button with this caption among the widget's children.
    static QAbstractButton *button(QWidget *w, const QString &text)
    {
        for (QAbstractButton *b : w->findChildren<QAbstractButton *>()) {
            if (b->text() == text)
                return b;
        }
        qFatal("no button %s", qPrintable(text));
        return nullptr;
    }
    QAbstractButton *button(const QString &text) const { return button(screen, text); }
    void press(const QString &text) const { GuiProgram::click(button(text)); }
    void clickTile(int id) const { GuiProgram::click(tile(id)); }

    // Ids of the tiles on show, in tile order (by id).
    QStringList shownTiles() const
    {
        QList<int> ids;
        for (DishTile *t : screen->findChildren<DishTile *>()) {
            if (!t->isHidden())
                ids << t->record().id.toInt();
        }
        std::sort(ids.begin(), ids.end());
        QStringList out;
        for (int id : ids)
            out << QString::number(id);
        return out;
    }

    QTableWidget *list() const { return screen->findChild<QTableWidget *>("list_ord"); }

    // Clicks the check box of a row of the line list where the style draws it.
    void checkRow(int row) const
    {
        QTableWidget *t = list();
        QStyleOptionViewItem opt;
        opt.initFrom(t);
        opt.rect = t->visualItemRect(t->item(row, 0));
        opt.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
        opt.text = t->item(row, 0)->text();
        const QRect box
            = t->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, t);
        QTest::mouseClick(t->viewport(), Qt::LeftButton, Qt::NoModifier, box.center());
    }

    QString toast() const { return p.forms->toast->text(); }

    // Every line of the table's orders as "caipinid|quantity|zfid|zfidstr|remark|stat".
    QStringList lines() const
    {
        TSQLiteDatabase db(p.ctx.db_path);
        TSQLiteTable t = db.GetTable("SELECT caipinid,quantity,zfid,zfidstr,remark,stat FROM "
                                     "lumo_orders_detail order by id");
        QStringList out;
        for (; !t.isEof(); t.Next()) {
            QStringList f;
            for (int i = 0; i < 6; ++i)
                f << t.FieldAsString(i);
            out << f.join('|');
        }
        return out;
    }

    // Key presses carrying the text, Chinese as well (as an input method delivers it).
    static void keys(QWidget *w, const QString &text)
    {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    // Replaces the edit's text by typing.
    static void type(QLineEdit *edit, const QString &text)
    {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        keys(edit, text);
    }

    GuiProgram p;
    QString desk;
    TForm_diancan *screen = nullptr;
    TForm_caipin_zuofa *zuofa = nullptr;
    TForm_gaijia *gaijia = nullptr;
};
