#pragma once

// The data of a large restaurant for the benchmarks: 500 tables in 20 areas,
// 3,000 dishes (or as many as asked) in 40 categories, a year of settled orders
// (about 100,000) with a million order lines, and a third of the tables open.

#include "app/helpers.h"
#include "store/sqlite_db.h"

#include <QStringList>

#include <algorithm>
#include <random>
#include <vector>

namespace scale_data {

constexpr int Areas = 20;
constexpr int Tables = 500;
constexpr int Categories = 40;
constexpr int Dishes = 3000; // the default menu size
constexpr int SettledOrders = 100000;
constexpr int TodayOrders = 300;
constexpr qint64 TotalLines = 1000000;

// Every third table is open with an open order of 20-40 lines, except these:
constexpr int ClickA = 3;     // 30 lines
constexpr int ClickB = 6;     // 30 lines
constexpr int SubmitDesk = 9; // 100 lines: the submit goes into it
constexpr int FreeDesk = 1;   // free: the transfer target

inline bool open_table(int desk)
{
    return desk % 3 == 0;
}

inline int open_lines(int desk, std::mt19937 &rng)
{
    if (desk == ClickA || desk == ClickB)
        return 30;
    if (desk == SubmitDesk)
        return 100;
    return 20 + int(rng() % 21);
}

// Multi-row INSERT through the store layer: rows are gathered and written
// `per` at a time with one statement, so a million rows take few prepares.
class BatchInsert
{
public:
    BatchInsert(TSQLiteDatabase &db, const QString &table, const QStringList &columns, int per = 64)
        : m_db(db)
        , m_head(QStringLiteral("INSERT INTO %1(%2) VALUES").arg(table, columns.join(',')))
        , m_row(QStringLiteral("(") + QStringList(columns.size(), QStringLiteral("?")).join(',')
                + QStringLiteral(")"))
        , m_columns(int(columns.size()))
        , m_per(per)
    {
        m_full = statement(per);
        m_params.reserve(per * m_columns);
    }

    void add(std::initializer_list<QVariant> values)
    {
        Q_ASSERT(int(values.size()) == m_columns);
        for (const QVariant &v : values)
            m_params.append(v);
        if (++m_rows == m_per)
            flush();
    }

    void flush()
    {
        if (m_rows == 0)
            return;
        m_db.ExecSQL(m_rows == m_per ? m_full : statement(m_rows), m_params);
        m_params.clear();
        m_rows = 0;
    }

private:
    QString statement(int rows) const { return m_head + QStringList(rows, m_row).join(','); }

    TSQLiteDatabase &m_db;
    QString m_head;
    QString m_row;
    QString m_full;
    int m_columns;
    int m_per;
    int m_rows = 0;
    SqlParams m_params;
};

const char *const Styles[]
    = {"宫保", "红烧", "清蒸", "干煸", "麻辣", "糖醋", "酸辣", "鱼香", "香煎", "蒜蓉"};
const char *const StyleCodes[] = {"gb", "hs", "qz", "gb", "ml", "tc", "sl", "yx", "xj", "sr"};
const char *const Foods[]
    = {"鸡丁", "肉片", "鲈鱼", "豆腐", "茄子", "排骨", "虾仁", "牛肉", "土豆丝", "青菜"};
const char *const FoodCodes[] = {"jd", "rp", "ly", "df", "qz", "pg", "xr", "nr", "tds", "qc"};
const char *const Methods[] = {"微辣", "不要香菜"};

struct Dish
{
    QString title;
    QString code;
    double price;
};

inline std::vector<Dish> dish_list(int count)
{
    std::vector<Dish> out(size_t(count) + 1);
    for (int i = 1; i <= count; ++i) {
        const int s = i % 10;
        const int f = (i / 10) % 10;
        out[i] = {QString::fromUtf8(Styles[s]) + QString::fromUtf8(Foods[f]) + QString::number(i),
                  QString::fromLatin1(StyleCodes[s]) + QString::fromLatin1(FoodCodes[f]),
                  8.5 + i % 60};
    }
    return out;
}

// One order line as the ordering screen writes it; settled lines are also marked iscal=1.
struct LineWriter
{
    BatchInsert insert;
    const std::vector<Dish> &dishes;
    std::mt19937 &rng;
    qint64 next_id = 1;

    // Returns the line's live amount (0 for a returned line).
    double add(qint64 order, int desk, qint64 time, int stat, int iscal)
    {
        const int dish = 1 + int(rng() % (dishes.size() - 1));
        const int quantity = 1 + int(rng() % 3);
        const double price = dishes[dish].price;
        QString zfid, zfidstr;
        if (rng() % 10 < 3) { // three lines in ten with a cooking method
            const int m = int(rng() % 2);
            zfid = QString::number(2 * dish - 1 + m);
            zfidstr = QString::fromUtf8(Methods[m]);
        }
        insert.add({next_id++,
                    dishes[dish].title,
                    price,
                    quantity,
                    general_decimal(price * quantity),
                    desk,
                    dish,
                    zfid,
                    zfidstr,
                    stat,
                    iscal,
                    time,
                    order,
                    QString()});
        return stat == 8 ? 0.0 : price * quantity;
    }
};

const QStringList LineColumns = {"id",
                                 "title",
                                 "oneprice",
                                 "quantity",
                                 "price",
                                 "deskid",
                                 "caipinid",
                                 "zfid",
                                 "zfidstr",
                                 "stat",
                                 "iscal",
                                 "addtime",
                                 "rootid",
                                 "remark"};
const QStringList OrderColumns = {"id",
                                  "title",
                                  "ordid",
                                  "truename",
                                  "deskid",
                                  "allprice",
                                  "price",
                                  "stat",
                                  "yj",
                                  "fwy",
                                  "tid",
                                  "iscal",
                                  "nums",
                                  "paytype",
                                  "addtime",
                                  "paytime"};

// Fills the program's database; now is the counter's clock in stored seconds.
inline void generate(const QString &db_path, qint64 now, int dish_count = Dishes)
{
    std::mt19937 rng(20240305);
    const std::vector<Dish> dishes = dish_list(dish_count);
    TSQLiteDatabase db(db_path);
    // A large page cache for this one connection keeps the index pages of the
    // big tables in memory while they grow.
    db.ExecSQL(QStringLiteral("PRAGMA cache_size=-262144"));

    // Areas, tables, categories, dishes, cooking methods.
    db.transaction([&] {
        for (int k = 1; k <= Areas; ++k)
            db.ExecSQL("INSERT INTO lumo_desk_class(id,title,sort) VALUES(?,?,?)",
                       {k, QStringLiteral("区域%1").arg(k), k});
        for (int k = 1; k <= Categories; ++k)
            db.ExecSQL("INSERT INTO lumo_caipin_class(id,title,sort) VALUES(?,?,?)",
                       {k, QStringLiteral("分类%1").arg(k), k});
        BatchInsert dish(db,
                         "lumo_caipin",
                         {"id", "title", "titleen", "price", "stock", "sort", "cid", "addtime"});
        BatchInsert method(db, "lumo_caipin_zuofa", {"id", "title", "rootid"});
        for (int i = 1; i <= dish_count; ++i) {
            dish.add({i,
                      dishes[i].title,
                      dishes[i].code,
                      QString::number(dishes[i].price, 'f', 2),
                      99,
                      i,
                      1 + i % Categories,
                      now - 400 * 86400});
            for (int m = 0; m < 2; ++m)
                method.add({2 * i - 1 + m, QString::fromUtf8(Methods[m]), i});
        }
        dish.flush();
        method.flush();
    });

    LineWriter lines{BatchInsert(db, "lumo_orders_detail", LineColumns), dishes, rng};
    BatchInsert orders(db, "lumo_orders", OrderColumns);
    qint64 order_id = 1;

    // A year of settled table orders, ids in the order they were settled: a few
    // hundred today, the rest over the 364 days before.
    const qint64 today = now / 86400 * 86400;
    std::vector<qint64> paytimes;
    paytimes.reserve(SettledOrders);
    for (int k = 0; k < TodayOrders; ++k)
        paytimes.push_back(today + qint64(rng() % quint32(std::max<qint64>(1, now - today))));
    for (int k = TodayOrders; k < SettledOrders; ++k)
        paytimes.push_back(today - 364 * 86400 + qint64(rng() % quint32(364 * 86400)));
    std::sort(paytimes.begin(), paytimes.end());

    // The open orders' lines are known first, so the settled ones fill up the rest.
    std::vector<int> open_counts(Tables + 1, 0);
    qint64 open_total = 0;
    for (int desk = 1; desk <= Tables; ++desk)
        if (open_table(desk))
            open_total += open_counts[desk] = open_lines(desk, rng);
    qint64 settled_left = TotalLines - open_total;

    constexpr int PerTransaction = 20000;
    for (int first = 0; first < SettledOrders; first += PerTransaction) {
        db.transaction([&] {
            const int last = std::min(SettledOrders, first + PerTransaction);
            for (int k = first; k < last; ++k) {
                const qint64 orders_left = SettledOrders - k;
                const qint64 mean = (settled_left + orders_left / 2) / orders_left;
                qint64 n = orders_left == 1 ? settled_left
                                            : std::max<qint64>(1, mean + qint64(rng() % 17) - 8);
                n = std::min(n, settled_left - (orders_left - 1)); // one line each for the rest
                settled_left -= n;
                const int desk = 1 + int(rng() % Tables);
                const qint64 paid = paytimes[size_t(k)];
                const qint64 added = paid - 1800 - qint64(rng() % 5400);
                double total = 0;
                for (qint64 l = 0; l < n; ++l)
                    total += lines.add(order_id, desk, added + 60 * l, rng() % 40 == 0 ? 8 : 3, 1);
                orders.add({order_id,
                            QStringLiteral("订单名称"),
                            QStringLiteral("%1%2").arg(paid).arg(order_id, 6, 10, QChar('0')),
                            QString(),
                            desk,
                            total,
                            total,
                            1,
                            QStringLiteral("0"),
                            QStringLiteral("服务员%1").arg(1 + rng() % 12),
                            0,
                            1,
                            1 + int(rng() % 8),
                            3 + int(rng() % 5),
                            added,
                            paid});
                ++order_id;
            }
            lines.insert.flush();
            orders.flush();
        });
    }

    // The tables, a third of them open with their open orders.
    db.transaction([&] {
        for (int desk = 1; desk <= Tables; ++desk) {
            const int area = 1 + (desk - 1) % Areas;
            const bool open = open_table(desk);
            const qint64 opened = now - 600 - qint64(rng() % 7200);
            const int guests = open ? 1 + int(rng() % 10) : 0;
            double total = 0;
            if (open) {
                for (int l = 0; l < open_counts[desk]; ++l)
                    total += lines.add(order_id, desk, opened + 30 * l, int(rng() % 4), 0);
                orders.add({order_id,
                            QStringLiteral("订单名称"),
                            QStringLiteral("%1%2").arg(opened).arg(order_id, 6, 10, QChar('0')),
                            QString(),
                            desk,
                            total,
                            total,
                            1,
                            QStringLiteral("0"),
                            QStringLiteral("服务员1"),
                            0,
                            0,
                            guests,
                            0,
                            opened,
                            0});
                ++order_id;
            }
            db.ExecSQL("INSERT INTO lumo_desk(id,title,bh,sort,cid,cname,stat,nums,price,fwy,"
                       "addtime) VALUES(?,?,?,?,?,?,?,?,?,?,?)",
                       {desk,
                        QStringLiteral("桌位%1").arg(desk),
                        QStringLiteral("%1").arg(desk, 3, 10, QChar('0')),
                        desk,
                        area,
                        QStringLiteral("区域%1").arg(area),
                        open ? 1 : 0,
                        guests,
                        open ? format_money(total) : QStringLiteral("0.00"),
                        open ? QStringLiteral("服务员1") : QString(),
                        open ? opened : 0});
        }
        lines.insert.flush();
        orders.flush();
    });
}

} // namespace scale_data
