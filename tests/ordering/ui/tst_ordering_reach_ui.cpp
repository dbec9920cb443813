// Nothing on the ordering screen is out of reach: every dish can be paged to and
// seen whole, every cooking method ticked, and typing starts in the search field.

#include "ordering_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QScrollArea>
#include <QSet>

class TestOrderingReachUi : public QObject
{
    Q_OBJECT

private slots:
    void everyDishCanBePagedTo_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("perPage");
        // 90 % of a 1920 x 1080 window, the screen the cashiers use.
        QTest::newRow("1728x972 by 81") << QSize(1728, 972) << 81;
        QTest::newRow("1152x720 by 81") << QSize(1152, 720) << 81;
        QTest::newRow("1728x972 by 20") << QSize(1728, 972) << 20;
    }
    void everyDishCanBePagedTo()
    {
        QFETCH(QSize, size);
        QFETCH(int, perPage);
        OrderingFixture f;
        f.p.ctx.settings.caipin_perpage = perPage;
        for (int i = 1; i <= 103; ++i)
            f.dish(i, QString("菜品%1").arg(i), "cp", QString::number(10 + i % 7));
        f.screen->resize(size);
        f.screen->open_with(f.desk, QString());

        QWidget *area = f.screen->findChild<QWidget *>("caipin_area");
        QSet<QString> seen;
        int pages = 0;
        for (;;) {
            ++pages;
            const QStringList shown = f.shownTiles();
            QVERIFY(shown.size() <= perPage);
            for (const QString &id : shown) {
                // Whole inside the dish area, so it can be seen and clicked.
                QVERIFY2(area->rect().contains(f.tile(id.toInt())->geometry()), qPrintable(id));
                seen.insert(id);
            }
            if (!f.button("下一页")->isEnabled())
                break;
            if (pages == 1) {
                const QString dir = qEnvironmentVariable("MIVO_SCREENSHOT_DIR");
                if (!dir.isEmpty() && perPage == 81 && size.width() == 1728)
                    QVERIFY(f.screen->grab().save(QDir(dir).filePath("ordering_full_page.png")));
            }
            f.press("下一页");
        }
        QCOMPARE(seen.size(), 103);
        QCOMPARE(pages, f.screen->page_count());
        QVERIFY(f.screen->page_size() <= perPage);
    }

    void manyMethodsScrollAndAllTick()
    {
        OrderingFixture f;
        f.dish(1, "宫保鸡丁", "gbjd", "28");
        for (int m = 1; m <= 15; ++m)
            f.method(m, 1, QString("做法%1").arg(m));
        f.open();
        f.clickTile(1);
        f.press("做法");

        auto *scroll = f.zuofa->findChild<QScrollArea *>("scroll_zuofa");
        QVERIFY(scroll);
        QVERIFY(
            f.zuofa->findChild<QGroupBox *>("group_zuofa")->rect().contains(scroll->geometry()));
        const QList<QCheckBox *> boxes = scroll->widget()->findChildren<QCheckBox *>();
        QCOMPARE(boxes.size(), 15);
        for (QCheckBox *box : boxes) {
            scroll->ensureWidgetVisible(box);
            const QRect at(box->mapTo(scroll->viewport(), QPoint(0, 0)), box->size());
            QVERIFY2(scroll->viewport()->rect().contains(at), qPrintable(box->text()));
            GuiProgram::click(box);
        }
        GuiProgram::click(OrderingFixture::button(f.zuofa, "确定设置"));
        QStringList ids;
        for (int m = 1; m <= 15; ++m)
            ids << QString::number(m);
        QCOMPARE(f.tile(1)->record().zfid, ids.join(','));
    }

    void typingStartsInTheSearchField()
    {
        OrderingFixture f;
        f.dish(1, "米饭", "mf", "2");
        f.dish(2, "宫保鸡丁", "gbjd", "28");
        auto *keyword = f.screen->findChild<QLineEdit *>("edit_keyword");
        f.open();
        QCOMPARE(f.screen->focusWidget(), keyword);
        OrderingFixture::keys(f.screen->focusWidget(), "mf");
        QCOMPARE(f.shownTiles(), QStringList{"1"});

        // Shown again after the waiter worked in the line list, the search field has it.
        f.list()->setFocus();
        f.screen->hide();
        f.open();
        QCOMPARE(f.screen->focusWidget(), keyword);
    }

    void categoryBoxesShowTheirEdge()
    {
        OrderingFixture f;
        f.category(1, "热菜", 1);
        f.open();
        auto *box = f.screen->findChild<ClickFrame *>("box_caipin_class_1");
        const QImage image = box->grab().toImage();
        const QColor fill = image.pixelColor(box->width() / 2, 3);
        QCOMPARE(fill, QColor(240, 240, 240));
        // The outline differs plainly from the fill and from the screen behind it.
        for (const QPoint &edge : {QPoint(0, box->height() / 2), QPoint(box->width() / 2, 0)}) {
            const QColor c = image.pixelColor(edge);
            QVERIFY2(qAbs(c.lightness() - fill.lightness()) >= 40, qPrintable(c.name()));
        }
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestOrderingReachUi t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_ordering_reach_ui.moc"
