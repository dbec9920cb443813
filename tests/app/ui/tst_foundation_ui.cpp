#include "app/ui/toast.h"
#include "board/ui/tform_main.h"
#include "support/ui/guikit.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTimer>

class TestFoundationUi : public QObject
{
    Q_OBJECT

private slots:
    void everyWindowOnceInOrder()
    {
        GuiProgram p;
        const Forms &f = *p.forms;
        QCOMPARE(f.main->windowTitle(), QString("Mivo餐饮管理软件"));
        const QList<QDialog *> dialogs
            = f.main->findChildren<QDialog *>(Qt::FindDirectChildrenOnly);
        QStringList captions;
        for (QDialog *d : dialogs)
            captions << d->windowTitle();
        QCOMPARE(captions, (QStringList{"桌位管理",      "点餐",     "菜品管理",
                                        "系统设置",      "关于软件", "个人资料修改",
                                        "会员管理",      "菜品分类", "数量、做法与备注",
                                        "桌号分类",      "结账",     "桌位状态",
                                        "员工设置",      "",         "订单",
                                        "营业统计",      "餐桌转台", "改价",
                                        "厨打选择",      "会员充值", "便捷商城",
                                        "我的商城订单",  "订单详情", "默认支付方式设置",
                                        "数据库备份设置"}));
        QVERIFY(f.main->started());
        QCOMPARE(p.ctx.account.username, QString("admin"));
    }

    void toastCountsDown()
    {
        GuiProgram p;
        Toast *t = p.forms->toast;
        p.forms->main->resize(800, 600);
        show_toast(*p.forms, "登录成功", 3, p.forms->main);
        QCOMPARE(t->text(), QString("登录成功"));
        QVERIFY(t->isShown());
        QCOMPARE(t->panel()->height(), 40);
        QCOMPARE(t->panel()->width(), text_width("登录成功") + 5);
        QVERIFY(t->timer()->isActive());
        QCOMPARE(t->timer()->interval(), 1000);
        QCOMPARE(t->timer()->objectName(), QString("Timermsg"));
        for (int i = 0; i < 3; ++i) {
            t->tick();
            QVERIFY(t->isShown());
        }
        t->tick();
        QVERIFY(!t->isShown());
        QVERIFY(!t->timer()->isActive());

        // seconds <= 0 means 2; a second toast replaces the first.
        show_toast(*p.forms, "a", 0, p.forms->main);
        QCOMPARE(t->countdown(), 2);
        show_toast(*p.forms, "b", 5, p.forms->main);
        QCOMPARE(t->text(), QString("b"));
        QCOMPARE(t->countdown(), 5);
        QCOMPARE(p.forms->main->findChildren<QLabel *>("toast").size(), 1);
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestFoundationUi t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_foundation_ui.moc"
