// The dishes list of a large menu: 5,000 dishes in 40 categories with two
// cooking methods each. Times what the owner does on the dishes screen through
// the real window: one page of 20 rows (first, next, last page) and a keyword
// search over all dishes; also the core page read alone and one dish save.
//
// Usage: bench_masterdata

#include "app/startup.h"
#include "app/ui/forms.h"
#include "bench_support.h"
#include "masterdata/dish_rules.h"
#include "masterdata/imcode.h"
#include "masterdata/list_page.h"
#include "masterdata/ui/list_screen.h"
#include "masterdata/ui/tform_caipin.h"
#include "store/sqlite_db.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int Dishes = 5000;
constexpr int Categories = 40;
constexpr double Target = 16;

const char *const Styles[]
    = {"宫保", "红烧", "清蒸", "干煸", "麻辣", "糖醋", "酸辣", "鱼香", "香煎", "蒜蓉"};
const char *const Foods[]
    = {"鸡丁", "肉片", "鲈鱼", "豆腐", "茄子", "排骨", "虾仁", "牛肉", "土豆丝", "青菜"};

void generate(const QString &db_path)
{
    TSQLiteDatabase db(db_path);
    db.transaction([&] {
        for (int k = 1; k <= Categories; ++k)
            db.ExecSQL("INSERT INTO lumo_caipin_class(id,title,sort) VALUES(?,?,?)",
                       {k, QStringLiteral("分类%1").arg(k), k});
        for (int i = 1; i <= Dishes; ++i) {
            const QString title = QString::fromUtf8(Styles[i % 10])
                                  + QString::fromUtf8(Foods[(i / 10) % 10]) + QString::number(i);
            db.ExecSQL(
                "INSERT INTO lumo_caipin(id,title,titleen,price,stock,sort,cid,iszk,addtime) "
                "VALUES(?,?,?,?,99,?,?,?,1700000000)",
                {i,
                 title,
                 search_code(title),
                 QString::number(8.5 + i % 60, 'f', 2),
                 i,
                 1 + i % Categories,
                 i % 7 ? 1 : 0});
            db.ExecSQL(
                "INSERT INTO lumo_caipin_zuofa(title,rootid) VALUES('微辣',?),('不要香菜',?)",
                {i, i});
        }
    });
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    AppContext ctx;
    ctx.setPrompts(std::make_shared<BenchPrompts>(true));
    start_core(ctx, folder.path());
    generate(ctx.db_path);

    std::unique_ptr<Forms> forms = create_forms(ctx, folder.path());
    TForm_caipin *screen = forms->caipin;
    screen->open_centred();
    QApplication::processEvents();
    auto *nums = screen->findChild<QLabel *>("page_nums");
    std::printf("%s, %s\n",
                qPrintable(nums->text()),
                qPrintable(screen->findChild<QLabel *>("page_page")->text()));

    // The paging buttons' handlers, then the event loop's layout and painting.
    auto run = [&](void (ListScreen::*handler)()) {
        (screen->*handler)();
        QApplication::processEvents();
    };
    auto *keyword = screen->findChild<QLineEdit *>("lab_keyword");
    constexpr int Runs = 30;
    BenchTable table;
    auto to_page = [&](int page) {
        screen->btn_firstClick();
        for (int p = 1; p < page; ++p)
            screen->btn_nextClick();
    };

    table.measure(
        "首页 (from page 2)",
        Runs,
        Target,
        [&] { run(&ListScreen::btn_firstClick); },
        [&] { to_page(2); });
    table.measure(
        "下一页 (page 1 to 2)",
        Runs,
        Target,
        [&] { run(&ListScreen::btn_nextClick); },
        [&] { to_page(1); });
    table.measure(
        "上一页 (page 3 to 2)",
        Runs,
        Target,
        [&] { run(&ListScreen::btn_preClick); },
        [&] { to_page(3); });
    table.measure(
        "尾页 (page 1 to 250)",
        Runs,
        Target,
        [&] { run(&ListScreen::btn_lastClick); },
        [&] { to_page(1); });
    if (screen->current_page() != 250)
        std::fprintf(stderr, "warning: last page is %d\n", screen->current_page());
    keyword->setText(QStringLiteral("鸡丁"));
    table.measure(
        "查询 鸡丁 (500 matches)", Runs, Target, [&] { run(&ListScreen::btn_searchClick); });
    std::printf("鸡丁: %s\n", qPrintable(nums->text()));
    table.measure(
        "下一页 within 鸡丁",
        Runs,
        Target,
        [&] { run(&ListScreen::btn_nextClick); },
        [&] { to_page(1); });
    keyword->setText(QStringLiteral("4999"));
    table.measure("查询 4999 (1 match)", Runs, Target, [&] { run(&ListScreen::btn_searchClick); });
    keyword->setText(QStringLiteral("没有"));
    table.measure("查询 without matches", Runs, Target, [&] { run(&ListScreen::btn_searchClick); });
    keyword->clear();
    screen->btn_searchClick();

    table.measure(
        "  of it getlist() alone, page 125",
        Runs,
        Target,
        [&] { screen->getlist(); },
        [&] { to_page(125); });
    table.measure(
        "  of it painting the list", Runs, Target, [&] { screen->list()->viewport()->repaint(); });

    const ListQuery q = dish_list_query();
    table.measure("core: read_list_page, page 125", Runs, Target, [&] {
        read_list_page(ctx, q, QString(), 125, 20);
    });
    table.measure("core: read_list_page, keyword 鸡丁", Runs, Target, [&] {
        read_list_page(ctx, q, QStringLiteral("鸡丁"), 1, 20);
    });

    DishForm form;
    form.edit_id = QStringLiteral("2500");
    form.name = QStringLiteral("宫保鸡丁2500");
    form.price = QStringLiteral("28");
    form.stock = QStringLiteral("99");
    form.sort = QStringLiteral("2500");
    form.category_id = QStringLiteral("1");
    form.methods = {{QString(), QStringLiteral("微辣")}, {QString(), QStringLiteral("免葱")}};
    table.measure("core: save_dish with two methods (edit)", Runs, Target, [&] {
        const SaveOutcome r = save_dish(ctx, form);
        if (!r.saved)
            std::fprintf(stderr, "save failed: %s\n", qPrintable(r.message));
    });

    table.print();
    forms.reset();
    return 0;
}
