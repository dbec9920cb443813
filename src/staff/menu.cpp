#include "staff/menu.h"

#include "app/helpers.h"
#include "store/sqlite_db.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

const QVector<MenuRow> &all_menu_rows()
{
    static const QVector<MenuRow> rows = {
        {11, QStringLiteral("桌位状态"), 0, 0},
        {21, QStringLiteral("转台"), 1, 0},
        {31, QStringLiteral("消台"), 2, 0},
        {41, QStringLiteral("点餐"), 3, 0},
        {42, QStringLiteral("结账"), 4, 0},
        {51, QStringLiteral("客打"), 5, 0},
        {54, QStringLiteral("厨打"), 6, 0},
        {52, QStringLiteral("订单"), 7, 0},
        {53, QStringLiteral("营业统计"), 16, 0},
        {61, QStringLiteral("桌位管理"), 8, 0},
        {71, QStringLiteral("菜品管理"), 9, 0},
        {72, QStringLiteral("菜品分类"), 10, 0},
        {81, QStringLiteral("会员管理"), 11, 0},
        {91, QStringLiteral("员工设置"), 12, 0},
        {101, QStringLiteral("系统设置"), 13, 1},
        {111, QStringLiteral("修改资料"), 14, 0},
        {121, QStringLiteral("安全退出"), 15, 0},
        {114, QStringLiteral("删除数据"), 18, 1},
    };
    return rows;
}

QVector<MenuRow> menu_rows(AppContext &ctx)
{
    // Table order: 11 to 52 for anyone signed in, 53 to 101 for administrators,
    // 111 and 121 for anyone signed in, then the demonstration entry.
    const QVector<MenuRow> &all = all_menu_rows();
    QVector<MenuRow> rows;
    // While nobody is signed in no entry may change data, deleting included.
    if (!check_login(ctx, ctx.account.username, ctx.account.digest))
        return rows;
    rows << all.mid(0, 8);
    if (ctx.account.role == 9)
        rows << all.mid(8, 7);
    rows << all.mid(15, 2);
    TSQLiteDatabase db(ctx.db_path);
    if (db.scalar(QStringLiteral("SELECT count(*) AS nums FROM lumo_desk where istest=1"))
            .toLongLong()
        > 0)
        rows << all.mid(17, 1);
    // The bar is built from the JSON form of the rows, as it always was.
    return menu_rows_from_json(menu_rows_json(rows));
}

QByteArray menu_rows_json(const QVector<MenuRow> &rows)
{
    QJsonArray a;
    for (const MenuRow &r : rows) {
        QJsonObject o;
        o.insert("id", QString::number(r.id));
        o.insert("title", r.title);
        o.insert("i", QString::number(r.icon));
        o.insert("isright", r.isright);
        a.append(o);
    }
    return QJsonDocument(a).toJson(QJsonDocument::Compact);
}

QVector<MenuRow> menu_rows_from_json(const QByteArray &json)
{
    QVector<MenuRow> rows;
    const QJsonArray a = QJsonDocument::fromJson(json).array();
    for (const QJsonValue &v : a) {
        const QJsonObject o = v.toObject();
        MenuRow r;
        r.id = o.value("id").toString().toInt();
        r.title = o.value("title").toString();
        r.icon = o.value("i").toString().toInt();
        r.isright = o.value("isright").toInt();
        rows << r;
    }
    return rows;
}

int menu_entry_left(const QVector<MenuRow> &rows, int index, int bar_width)
{
    int a = 0;
    for (const MenuRow &r : rows)
        a += r.isright == 1 ? 1 : 0;
    int before = 0;
    for (int i = 0; i < index; ++i)
        before += (rows[i].isright == 1) == (rows[index].isright == 1) ? 1 : 0;
    if (rows[index].isright == 1)
        return bar_width + 79 * before - 80 * a + 8;
    return 79 * before;
}

int menu_label_left(const QString &title)
{
    return int(std::floor((80 - 16 * title.size()) / 2.0));
}
