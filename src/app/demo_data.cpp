#include "app/demo_data.h"

#include "app/helpers.h"
#include "app/notifier.h"
#include "masterdata/imcode.h"
#include "store/sqlite_db.h"

namespace {

struct DemoDish
{
    const char *title;
    const char *price; // written as a bare number, so "2.0" keeps its decimal
    int iszk;
};

const DemoDish kDishes[] = {
    {"乐山钵钵鸡", "58.8", 1},   {"盐菜回锅肉", "26.8", 1},   {"水煮肉片(中份)", "38.8", 1},
    {"酸辣土豆丝", "13.5", 1},   {"鱼香肉丝", "27.8", 1},     {"印象毛血旺(大份)", "56", 1},
    {"肉沫茄子", "16.8", 1},     {"陈麻婆豆腐", "13.8", 1},   {"玉米虾仁", "39.8", 1},
    {"莴笋木耳肉片", "26.8", 1}, {"四川麻辣口水鸡", "23", 1}, {"土豆烧鸡", "36.8", 1},
    {"宫保鸡丁", "29.8", 1},     {"夫妻肺片", "38.8", 1},     {"烟笋炒腊肉", "37.8", 1},
    {"干煸肥肠", "56.8", 1},     {"泡椒腰花", "48.8", 1},     {"香辣虾", "46", 1},
    {"清炒上海青", "16", 1},     {"泡椒鲜鸭血", "18.8", 1},   {"米饭", "2.0", 0},
    {"青岛啤酒", "5.0", 0},
};

// The number as SQLite would read the bare literal: an integer stays an integer,
// anything with a point is a real.
QVariant bare_number(const QString &text)
{
    if (text.contains(QChar('.')))
        return text.toDouble();
    return text.toLongLong();
}

int count_of(TSQLiteDatabase &db, const char *table)
{
    return db.scalar(QStringLiteral("SELECT count(*) AS nums FROM %1").arg(QLatin1String(table)))
        .toInt();
}

} // namespace

bool demo_offer_due(const AppContext &ctx)
{
    TSQLiteDatabase db(ctx.db_path);
    return count_of(db, "lumo_desk") == 0;
}

void seed_demo_data(const AppContext &ctx)
{
    TSQLiteDatabase db(ctx.db_path);
    const qint64 now = unix_now_secs(ctx.clock());
    // Tables and dishes land together or not at all: tables without dishes would never
    // be offered again (the offer comes only while there are no tables).
    db.transaction([&] {
        if (count_of(db, "lumo_desk") == 0) {
            for (int n = 1; n <= 20; ++n) {
                const QString nn = QString::asprintf("%02d", n);
                db.ExecSQL(QStringLiteral("INSERT INTO lumo_desk(title,bh,cid,sort,cname,istest) "
                                          "VALUES (?,?,?,?,?,1)"),
                           {QStringLiteral("桌位") + nn, nn, 0, n, QString()});
            }
        }
        if (count_of(db, "lumo_caipin") == 0) {
            int k = 0;
            for (const DemoDish &d : kDishes) {
                const QString title = QString::fromUtf8(d.title);
                db.ExecSQL(
                    QStringLiteral("INSERT INTO lumo_caipin(title,titleen,price,stock,addtime,"
                                   "cid,sort,iszk,istest) VALUES (?,?,?,?,?,?,?,?,1)"),
                    {title,
                     search_code(title),
                     bare_number(QString::fromLatin1(d.price)),
                     0,
                     now,
                     0,
                     k,
                     d.iszk});
                ++k;
            }
        }
    });
    ctx.notifier().areas_changed();
    ctx.notifier().dishes_changed();
}

bool has_demo_desks(const AppContext &ctx)
{
    TSQLiteDatabase db(ctx.db_path);
    return db.scalar(QStringLiteral("SELECT count(*) AS nums FROM lumo_desk where istest=1"))
               .toInt()
           > 0;
}

void delete_demo_data(const AppContext &ctx)
{
    TSQLiteDatabase db(ctx.db_path);
    db.transaction([&] {
        // An open bill of a demonstration table would otherwise be picked up by the
        // next table with the same id. Settled orders stay as history.
        const QString openDemoOrders = QStringLiteral(
            "SELECT id FROM lumo_orders where iscal=0 AND deskid in(SELECT id FROM lumo_desk "
            "where istest=1)");
        db.ExecSQL(QStringLiteral("DELETE FROM lumo_orders_detail where rootid in(%1)")
                       .arg(openDemoOrders));
        db.ExecSQL(QStringLiteral("DELETE FROM lumo_orders where id in(%1)").arg(openDemoOrders));
        db.ExecSQL(QStringLiteral("DELETE FROM lumo_desk where istest=1"));
        db.ExecSQL(QStringLiteral("DELETE FROM lumo_caipin where istest=1"));
    });
    ctx.notifier().database_replaced();
}
