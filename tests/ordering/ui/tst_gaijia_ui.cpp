#include "ordering_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>

namespace {

// Sum of the "金额" column over the lines that are not returned.
double live_list_total(QTableWidget *t)
{
    double sum = 0;
    for (int r = 0; r < t->rowCount(); ++r) {
        if (t->item(r, 7)->text() != QString("已退菜"))
            sum += t->item(r, 6)->text().toDouble();
    }
    return sum;
}

} // namespace

class TestGaijiaUi : public QObject
{
    Q_OBJECT

private slots:
    void listEditSave()
    {
        OrderingFixture f;
        f.dish(1, "宫保鸡丁", "gbjd", "10");
        f.dish(2, "酸梅汤", "smt", "5");
        f.dish(3, "米饭", "mf", "2");
        f.method(1, 1, "微辣");
        f.open();
        for (int i = 1; i <= 3; ++i)
            f.clickTile(i);
        f.press("一键批量落单");
        const QString a = f.p.scalar("SELECT id FROM lumo_orders_detail WHERE caipinid=1");
        const QString b = f.p.scalar("SELECT id FROM lumo_orders_detail WHERE caipinid=2");

        f.press("改价");
        QCOMPARE(f.toast(), QString("请至少选中一项操作"));
        QVERIFY(!f.gaijia->isVisible());

        f.checkRow(0);
        f.checkRow(1);
        f.press("改价");
        QVERIFY(f.gaijia->isVisible());
        QCOMPARE(f.gaijia->line_ids(), a + "," + b);
        QCOMPARE(f.gaijia->size(), QSize(800, 640)); // 90% of 800, less 80
        auto *priceA = f.gaijia->findChild<QLineEdit *>("edit_1_" + a);
        auto *qtyA = f.gaijia->findChild<QLineEdit *>("edit_2_" + a);
        auto *remarkA = f.gaijia->findChild<QLineEdit *>("edit_3_" + a);
        auto *subA = f.gaijia->findChild<QLabel *>("static_5_" + a);
        QVERIFY(priceA && qtyA && remarkA && subA);
        QVERIFY(priceA->isVisible() && remarkA->isVisible() && subA->isVisible());
        QCOMPARE(priceA->text(), QString("10"));
        QCOMPARE(qtyA->text(), QString("1"));
        QCOMPARE(subA->text(), QString("10"));
        QVERIFY(!f.gaijia->findChild<QLineEdit *>(
            "edit_1_" + f.p.scalar("SELECT id FROM lumo_orders_detail WHERE caipinid=3")));
        QStringList texts;
        for (QLabel *l : f.gaijia->findChildren<QLabel *>()) {
            if (l->isVisible())
                texts << l->text();
        }
        for (const char *t : {"序号",
                              "菜品名称",
                              "做法",
                              "单价",
                              "数量",
                              "小计",
                              "备注",
                              "01",
                              "02",
                              "宫保鸡丁",
                              "酸梅汤"})
            QVERIFY2(texts.contains(QString::fromUtf8(t)), t);

        // Subtotals follow every edit.
        OrderingFixture::type(priceA, "12.4");
        OrderingFixture::type(qtyA, "3");
        QCOMPARE(subA->text(), QString("37.2"));
        OrderingFixture::type(qtyA, "0");
        QCOMPARE(subA->text(), QString("12.4"));
        OrderingFixture::type(qtyA, "3");
        OrderingFixture::type(remarkA, "it's");
        OrderingFixture::type(f.gaijia->findChild<QLineEdit *>("edit_1_" + b), "abc");
        QCOMPARE(f.gaijia->findChild<QLabel *>("static_5_" + b)->text(), QString("0"));

        // Not a price: refused with what is allowed, nothing saved, the field to correct
        // has the focus.
        const QString beforeRefusal = f.p.scalar(
            "SELECT group_concat(oneprice||' '||quantity||' '||remark) FROM lumo_orders_detail");
        GuiProgram::click(OrderingFixture::button(f.gaijia, "批量保存"));
        QCOMPARE(f.toast(), QString("单价请输入数字（最多一个小数点），不超过99999.99"));
        QCOMPARE(f.p.scalar("SELECT group_concat(oneprice||' '||quantity||' '||remark) FROM "
                            "lumo_orders_detail"),
                 beforeRefusal);
        QCOMPARE(f.gaijia->focusWidget(), f.gaijia->findChild<QLineEdit *>("edit_1_" + b));
        OrderingFixture::type(f.gaijia->findChild<QLineEdit *>("edit_1_" + b), "0");

        GuiProgram::click(OrderingFixture::button(f.gaijia, "批量保存"));
        QCOMPARE(f.toast(), QString("批量价格修改成功"));
        QVERIFY(f.gaijia->isVisible());
        QCOMPARE(
            f.p.scalar("SELECT printf('%.2f',oneprice)||' '||quantity||' '||price||' '||remark "
                       "FROM lumo_orders_detail WHERE id="
                       + a),
            QString("12.40 3 37.0 its"));
        QCOMPARE(f.p.scalar("SELECT printf('%.2f',oneprice) FROM lumo_orders_detail WHERE id=" + b),
                 QString("0.00"));
        // 37.20 + 0.00 + the untouched rice 2.00
        QCOMPARE(f.p.scalar("SELECT price FROM lumo_desk"), QString("39.20"));
        QCOMPARE(f.p.scalar("SELECT printf('%.2f',price)||' '||printf('%.2f',allprice) FROM "
                            "lumo_orders"),
                 QString("39.20 39.20"));

        // The dialog lists again; the ordering screen shows the new amounts.
        QCOMPARE(f.gaijia->findChild<QLineEdit *>("edit_1_" + a)->text(), QString("12.4"));
        QCOMPARE(f.list()->item(0, 4)->text(), QString("12.40"));
        QCOMPARE(f.list()->item(0, 6)->text(), QString("37.20"));
        QCOMPARE(f.list()->item(0, 8)->text(), QString("its"));
    }

    // A table from opening to a changed price: every stored copy of the total agrees
    // with the line list.
    void wholeDinner()
    {
        OrderingFixture f;
        f.p.exec("UPDATE lumo_desk SET stat=0");
        f.dish(1, "宫保鸡丁", "gbjd", "28");
        f.dish(2, "鸡蛋汤", "jdt", "12.5");
        f.dish(3, "米饭", "mf", "2");
        f.dish(4, "可乐", "kl", "5");
        f.method(1, 1, "微辣");
        f.method(2, 1, "加花生");
        f.method(3, 2, "少盐");
        f.open();

        // The table is not open yet.
        f.clickTile(1);
        f.press("一键批量落单");
        QCOMPARE(f.p.prompts->infos, QStringList{"此桌位状态不能点单"});
        QCOMPARE(f.p.scalar("SELECT count(*) FROM lumo_orders"), QString("0"));

        f.p.exec("UPDATE lumo_desk SET stat=1");
        // 宫保鸡丁 x2 with both methods and a remark.
        f.press("做法");
        for (QCheckBox *box : f.zuofa->findChildren<QCheckBox *>())
            GuiProgram::click(box);
        GuiProgram::click(f.zuofa->findChild<QWidget *>("image_plus"));
        OrderingFixture::keys(f.zuofa->findChild<QLineEdit *>("edit_remark"), "不要葱");
        GuiProgram::click(OrderingFixture::button(f.zuofa, "确定设置"));
        // 鸡蛋汤 x1 less salt, 米饭 x3.
        f.clickTile(2);
        f.press("做法");
        GuiProgram::click(f.zuofa->findChildren<QCheckBox *>().first());
        GuiProgram::click(OrderingFixture::button(f.zuofa, "确定设置"));
        f.clickTile(3);
        f.press("数量");
        OrderingFixture::type(f.zuofa->findChild<QLineEdit *>("edit_quantity"), "3");
        GuiProgram::click(OrderingFixture::button(f.zuofa, "确定设置"));
        f.press("一键批量落单");
        QCOMPARE(f.lines(),
                 (QStringList{"1|2|1,2|微辣,加花生|不要葱|0", "2|1|3|少盐||0", "3|3||||0"}));
        QCOMPARE(f.p.scalar("SELECT price FROM lumo_desk"), QString("74.50"));

        // Return the soup.
        f.checkRow(1);
        f.press("退菜");
        QCOMPARE(f.toast(), QString("退菜成功"));
        QCOMPARE(f.p.scalar("SELECT price FROM lumo_desk"), QString("62.00"));

        // New price for the chicken: 30.5 x 2.
        f.checkRow(0);
        f.press("改价");
        const QString a = f.p.scalar("SELECT id FROM lumo_orders_detail WHERE caipinid=1");
        OrderingFixture::type(f.gaijia->findChild<QLineEdit *>("edit_1_" + a), "30.5");
        GuiProgram::click(OrderingFixture::button(f.gaijia, "批量保存"));

        const double expected = 30.5 * 2 + 2 * 3;
        const QString text = QString::asprintf("%.2f", expected);
        QCOMPARE(f.p.scalar("SELECT price FROM lumo_desk"), text);
        QCOMPARE(f.p.scalar("SELECT printf('%.2f',price)||' '||printf('%.2f',allprice)||' '||"
                            "nums||' '||iscal FROM lumo_orders"),
                 text + " " + text + " 0 0");
        QCOMPARE(live_list_total(f.list()), expected);
        QCOMPARE(f.list()->rowCount(), 3);
        QCOMPARE(f.list()->item(1, 7)->text(), QString("已退菜"));
    }

    // Long names that differ only at their end stay told apart.
    void longNamesEndWithEllipsis()
    {
        OrderingFixture f;
        const QString name = "重庆麻辣香锅特别加大份含米饭和饮料套餐";
        f.dish(1, name + "一", "a", "10");
        f.dish(2, name + "二", "b", "10");
        f.dish(3, "米饭", "mf", "2");
        f.open();
        for (int i = 1; i <= 3; ++i)
            f.clickTile(i);
        f.press("一键批量落单");
        GuiProgram::click(f.screen->findChild<QCheckBox *>("check_all"));
        f.press("改价");
        QStringList cut, whole;
        for (QLabel *l : f.gaijia->findChildren<QLabel *>()) {
            if (l->text().endsWith(QChar(0x2026)))
                cut << l->toolTip();
            else
                whole << l->text();
        }
        cut.sort();
        QCOMPARE(cut, (QStringList{name + "一", name + "二"}));
        QVERIFY(whole.contains("米饭"));
    }

    // Another counter settles the bill while the ordering screen and the price change
    // still show its lines: neither changes what was paid.
    void billPaidElsewhereStaysAsPaid()
    {
        OrderingFixture f;
        f.dish(1, "宫保鸡丁", "gbjd", "10");
        f.open();
        f.clickTile(1);
        f.press("一键批量落单");
        f.checkRow(0);
        f.press("改价");
        const QString line = f.p.scalar("SELECT id FROM lumo_orders_detail");
        f.p.exec("UPDATE lumo_orders SET iscal=1,price=10");
        f.p.exec("UPDATE lumo_orders_detail SET iscal=1");
        f.p.exec("UPDATE lumo_desk SET stat=0,price='0.00'");
        const QString paid = f.lines().join(';') + f.p.scalar("SELECT price FROM lumo_orders");

        OrderingFixture::type(f.gaijia->findChild<QLineEdit *>("edit_1_" + line), "1");
        GuiProgram::click(OrderingFixture::button(f.gaijia, "批量保存"));
        QCOMPARE(f.toast(), QString("订单已结算，菜品不能再修改"));
        QCOMPARE(f.gaijia->findChild<QLineEdit *>("edit_1_" + line)->text(), QString("10"));

        f.press("退菜"); // the row is still checked from the price change
        QCOMPARE(f.toast(), QString("订单已结算，菜品不能再修改"));
        QCOMPARE(f.lines().join(';') + f.p.scalar("SELECT price FROM lumo_orders"), paid);
        QCOMPARE(f.p.scalar("SELECT price FROM lumo_desk"), QString("0.00"));
        // The screen now shows the free table's empty bill.
        QCOMPARE(f.list()->rowCount(), 0);
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestGaijiaUi t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_gaijia_ui.moc"
