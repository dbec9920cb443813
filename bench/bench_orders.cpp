// The orders list and the members search on a large restaurant's data: a year of
// orders (120,000 dining orders and recharges, some of tables since deleted) and
// 20,000 members. Times through the real windows what the owner does: the orders
// list's first and last page, a search by order number, the lines of a clicked
// order, and a member search by mobile number and by name; also the core reads
// alone.
//
// Usage: bench_orders [program-folder]
//   Without a folder the data is built in a temporary one. A folder that
//   bench_scale filled (bench_scale FOLDER) is used with its orders as they are;
//   the members are added when it has none.

#include "app/helpers.h"
#include "app/startup.h"
#include "app/ui/forms.h"
#include "bench_support.h"
#include "masterdata/list_page.h"
#include "masterdata/member_rules.h"
#include "masterdata/ui/tform_member.h"
#include "reports/orders_list.h"
#include "reports/ui/tform_orders.h"
#include "store/sqlite_db.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include <cstdio>

namespace {

constexpr int Tables = 500;
constexpr int Orders = 120000;
constexpr int Members = 20000;
constexpr int Runs = 30;
constexpr double PageTarget = 16;
constexpr double LastPageTarget = 50;

const char *const Surnames[] = {"王", "李", "张", "刘", "陈", "杨", "黄", "赵", "周", "吴"};
const char *const Given[] = {"伟", "芳", "娜", "敏", "静", "丽", "强", "磊", "洋", "勇"};

QString ordid_of(int i)
{
    return QStringLiteral("2024%1").arg(i, 10, 10, QChar('0'));
}

void add_orders(TSQLiteDatabase &db, qint64 now)
{
    db.transaction([&] {
        for (int k = 1; k <= Tables; ++k)
            db.ExecSQL("INSERT INTO lumo_desk(id,title,bh,sort,cid) VALUES(?,?,?,?,1)",
                       {k, QStringLiteral("桌位%1").arg(k), QStringLiteral("%1").arg(k), k});
        const qint64 start = now - 365 * 86400;
        for (int i = 1; i <= Orders; ++i) {
            const bool recharge = i % 25 == 0;
            // Tables above the last one were deleted since.
            const int desk = recharge ? 0 : 1 + i % (Tables + 20);
            const double amount = 20 + i % 400;
            db.ExecSQL("INSERT INTO lumo_orders(id,title,ordid,deskid,allprice,price,stat,yj,tid,"
                       "iscal,nums,paytype,balance,addtime,paytime) "
                       "VALUES(?,?,?,?,?,?,?,'0',?,?,?,?,0,?,?)",
                       {i,
                        recharge ? QStringLiteral("会员充值") : QStringLiteral("订单名称"),
                        ordid_of(i),
                        desk,
                        amount,
                        amount,
                        recharge || i % 7 ? 1 : 3,
                        recharge ? 1 : 0,
                        recharge ? 0 : 1,
                        recharge ? 0 : 1 + i % 8,
                        5 + i % 2,
                        start + qint64(i) * 262,
                        start + qint64(i) * 262 + 3600});
            // Lines for the newest and the oldest orders, the ones the pages show.
            if (!recharge && (i <= 40 || i > Orders - 40))
                for (int l = 0; l < 12; ++l)
                    db.ExecSQL("INSERT INTO lumo_orders_detail(title,oneprice,quantity,price,"
                               "rootid,stat,addtime) VALUES(?,?,?,?,?,0,?)",
                               {QStringLiteral("菜品%1").arg(l), 18.5, 2, 37, i, now});
        }
    });
}

void add_members(TSQLiteDatabase &db, qint64 now)
{
    db.transaction([&] {
        for (int i = 1; i <= Members; ++i)
            db.ExecSQL("INSERT INTO lumo_member(mobile,truename,stat,zekou,balance,addtime,uptime) "
                       "VALUES(?,?,?,?,?,?,?)",
                       {QStringLiteral("138%1").arg(i, 8, 10, QChar('0')),
                        QString::fromUtf8(Surnames[i % 10])
                            + QString::fromUtf8(Given[(i / 10) % 10]) + QString::number(i),
                        i % 50 == 7 ? 4 : 0,
                        850 + i % 150,
                        i % 500,
                        now - i * 600,
                        now - i * 600});
    });
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    AppContext ctx;
    const QString folder = start_bench(ctx, argc, argv);
    const qint64 now = unix_now_secs(ctx.clock());
    {
        TSQLiteDatabase db(ctx.db_path);
        if (db.scalar("SELECT count(*) FROM lumo_orders").toInt() == 0)
            add_orders(db, now);
        if (db.scalar("SELECT count(*) FROM lumo_member").toInt() == 0)
            add_members(db, now);
        std::printf("%s orders (%s recharges, %s of deleted tables), %s members\n",
                    qPrintable(db.scalar("SELECT count(*) FROM lumo_orders")),
                    qPrintable(db.scalar("SELECT count(*) FROM lumo_orders WHERE tid=1")),
                    qPrintable(db.scalar("SELECT count(*) FROM lumo_orders WHERE tid=0 AND "
                                         "deskid NOT IN(SELECT id FROM lumo_desk)")),
                    qPrintable(db.scalar("SELECT count(*) FROM lumo_member")));
    }

    BenchTable table;
    std::unique_ptr<Forms> forms = create_forms(ctx, folder);
    TForm_orders *orders = forms->orders;
    orders->resize(1728, 860);
    orders->show();
    QApplication::processEvents();
    auto *nums = orders->findChild<QLabel *>("page_nums");
    auto *page = orders->findChild<QLabel *>("page_page");
    std::printf("orders list: %s, %s\n", qPrintable(nums->text()), qPrintable(page->text()));

    // Each paging handler, then the event loop's layout and painting.
    auto run = [&](auto handler) {
        (orders->*handler)();
        QApplication::processEvents();
    };
    table.measure(
        "orders: 首页 (from page 2)",
        Runs,
        PageTarget,
        [&] { run(&TForm_orders::btn_firstClick); },
        [&] { orders->btn_nextClick(); });
    table.measure(
        "orders: 尾页 (from page 1)",
        Runs,
        LastPageTarget,
        [&] { run(&TForm_orders::btn_lastClick); },
        [&] { orders->btn_firstClick(); });
    std::printf("last page: %s, first row %s\n",
                qPrintable(page->text()),
                qPrintable(orders->list()->item(0, TForm_orders::ColNumber)->text()));
    auto *keyword = orders->findChild<QLineEdit *>("lab_keyword");
    const QString wanted = ordid_of(Orders / 2);
    keyword->setText(wanted);
    table.measure("orders: 查询 one order number", Runs, PageTarget, [&] {
        run(&TForm_orders::btn_searchClick);
    });
    keyword->clear();
    orders->btn_searchClick();
    table.measure("orders: click a row, its lines listed", Runs, PageTarget, [&] {
        QTableWidget *t = orders->list();
        emit t->cellClicked(3, TForm_orders::ColTitle);
        QApplication::processEvents();
    });

    const int last = list_page_count(read_orders_page(ctx, QString(), 1).records, OrdersPageSize);
    table.measure("  core: read_orders_page, first page", Runs, PageTarget, [&] {
        read_orders_page(ctx, QString(), 1);
    });
    table.measure("  core: read_orders_page, last page", Runs, LastPageTarget, [&] {
        read_orders_page(ctx, QString(), last);
    });

    // The members screen: a search by mobile number and by part of a name.
    TForm_member *member = forms->member;
    member->show();
    QApplication::processEvents();
    auto *mkeyword = member->findChild<QLineEdit *>("lab_keyword");
    auto search = [&] {
        member->btn_searchClick();
        QApplication::processEvents();
    };
    mkeyword->setText(QStringLiteral("13800012345"));
    table.measure("members: 查询 a mobile number", Runs, PageTarget, search);
    std::printf("mobile: %s\n", qPrintable(member->findChild<QLabel *>("page_nums")->text()));
    mkeyword->setText(QStringLiteral("王伟"));
    table.measure("members: 查询 part of a name", Runs, PageTarget, search);
    std::printf("name: %s\n", qPrintable(member->findChild<QLabel *>("page_nums")->text()));
    mkeyword->setText(QStringLiteral("没有这个人"));
    table.measure("members: 查询 a name nobody has", Runs, PageTarget, search);
    const ListQuery mq = member_list_query();
    table.measure("  core: member page, name search", Runs, PageTarget, [&] {
        read_list_page(ctx, mq, QStringLiteral("王伟"), 1, 15);
    });

    table.print();
    forms.reset();
    return 0;
}
