#include "store/schema.h"

#include "store/mivo_schema.h"
#include "store/sqlite_db.h"

#include <QSet>

namespace {

// Column list of a table: [name] declared type, then " default (value)" where it has one.
struct Col
{
    const char *name;
    const char *type;
    const char *def;   // nullptr: no default
    bool bare = false; // written without brackets around the name
};

QString create_statement(const QString &table, std::initializer_list<Col> cols)
{
    QString sql = QStringLiteral("CREATE TABLE %1 ([id] INTEGER PRIMARY KEY").arg(table);
    for (const Col &c : cols) {
        sql += c.bare
                   ? QStringLiteral(",%1 %2").arg(QLatin1String(c.name), QLatin1String(c.type))
                   : QStringLiteral(",[%1] %2").arg(QLatin1String(c.name), QLatin1String(c.type));
        if (c.def)
            sql += QStringLiteral(" default (%1)").arg(QLatin1String(c.def));
    }
    sql += QStringLiteral(");");
    return sql;
}

QStringList index_statements(const QString &table,
                             std::initializer_list<std::pair<const char *, const char *>> list)
{
    QStringList out;
    for (const auto &[name, column] : list)
        out << QStringLiteral("CREATE INDEX %1 ON [%2]([%3]);")
                   .arg(QLatin1String(name), table, QLatin1String(column));
    return out;
}

QVector<SchemaTable> build()
{
    QVector<SchemaTable> t;
    t.append({"lumo_admin",
              create_statement("lumo_admin",
                               {{"username", "VARCHAR (100)", nullptr},
                                {"rndstr", "VARCHAR (20)", nullptr},
                                {"encmd5", "VARCHAR (40)", nullptr},
                                {"truename", "VARCHAR (100)", nullptr},
                                {"tid", "INTEGER (2)", "1"},
                                {"isjob", "INTEGER (1)", "0"},
                                {"addtime", "INTEGER (11)", "0"}}),
              index_statements("lumo_admin", {{"lumo_admin_username", "username"}})});
    t.append({"lumo_member",
              create_statement("lumo_member",
                               {{"mobile", "VARCHAR (20)", nullptr},
                                {"truename", "VARCHAR (100)", nullptr},
                                {"stat", "INT (1)", "0"},
                                {"deleted", "tinyint (1)", "0"},
                                {"zekou", "INTEGER (4)", "1000"},
                                {"balance", "DOUBLE (2)", "0"},
                                {"addtime", "INTEGER (11)", "0"},
                                {"uptime", "INTEGER (11)", "0"}}),
              index_statements("lumo_member",
                               {{"lumo_member_mobile", "mobile"},
                                {"lumo_member_truename", "truename"},
                                {"lumo_member_stat", "stat"}})});
    t.append({"lumo_orders_detail",
              create_statement("lumo_orders_detail",
                               {{"title", "VARCHAR (255)", nullptr},
                                {"deskid", "INT (11)", "0"},
                                {"oneprice", "DOUBLE (2)", "0"},
                                {"quantity", "INTEGER (11)", "1"},
                                {"zfid", "INTEGER (11)", "0"},
                                {"caipinid", "INTEGER (11)", "0"},
                                {"price", "DOUBLE (2)", "0.00"},
                                {"stat", "INT (1)", "0"},
                                {"iscal", "INT (1)", "0"},
                                {"zfidstr", "VARCHAR (250)", nullptr},
                                {"yj", "VARCHAR (50)", nullptr},
                                {"fwy", "VARCHAR (50)", nullptr},
                                {"ydtruename", "VARCHAR (100)", nullptr},
                                {"addtime", "INTEGER (11)", "0"},
                                {"rootid", "INTEGER (11)", "0"},
                                {"paytime", "INTEGER (11)", "0"},
                                {"remark", "VARCHAR (255)", nullptr}}),
              index_statements("lumo_orders_detail",
                               {{"orders_detail_stat", "stat"},
                                {"orders_detail_deskid", "deskid"},
                                {"orders_detail_addtime", "addtime"},
                                {"orders_detail_zfid", "zfid"},
                                {"orders_detail_caipinid", "caipinid"},
                                {"orders_detail_iscal", "iscal"},
                                {"orders_detail_rootid", "rootid"}})});
    t.append({"lumo_desk",
              create_statement("lumo_desk",
                               {{"title", "VARCHAR (255)", nullptr},
                                {"bh", "VARCHAR (50)", nullptr},
                                {"nums", "INTEGER (11)", "0"},
                                {"price", "varchar (20)", "0.00"},
                                {"cid", "INTEGER (2)", "0"},
                                {"sort", "INTEGER (11)", "0"},
                                {"cname", "VARCHAR (100)", nullptr},
                                {"fwy", "VARCHAR (50)", nullptr},
                                {"gldesk", "VARCHAR (250)", nullptr},
                                {"yj", "DOUBLE (2)", "0.00"},
                                {"ydtruename", "VARCHAR (250)", nullptr},
                                {"istest", "INT (1)", "0"},
                                {"stat", "tinyint (1)", "0"},
                                {"addtime", "INTEGER (11)", "0"}}),
              index_statements("lumo_desk",
                               {{"desk_stat", "stat"},
                                {"desk_bh", "bh"},
                                {"desk_cid", "cid"},
                                {"desk_sort", "sort"},
                                {"desk_istest", "istest"}})});
    t.append(
        {"lumo_desk_class",
         create_statement("lumo_desk_class",
                          {{"title", "VARCHAR (255)", nullptr}, {"sort", "INTEGER (11)", "0"}}),
         index_statements("lumo_desk_class", {{"desk_class_sort", "sort"}})});
    t.append({"lumo_orders",
              create_statement("lumo_orders",
                               {{"title", "VARCHAR (255)", nullptr},
                                {"ordid", "CHAR (50)", nullptr},
                                {"truename", "CHAR (50)", nullptr},
                                {"deskid", "INT (11)", "0"},
                                {"allprice", "DOUBLE (2)", "0.00"},
                                {"price", "DOUBLE (2)", "0.00"},
                                {"stat", "INT (1)", nullptr},
                                {"yj", "char(20)", nullptr},
                                {"fwy", "char(50)", nullptr},
                                {"tid", "INT (1)", "0"},
                                {"iscal", "INT (1)", "0"},
                                {"nums", "INT (3)", "0"},
                                {"paytype", "INT (1)", "0"},
                                {"balance", "INTEGER (11)", "0", true},
                                {"addtime", "INTEGER (11)", "0"},
                                {"paytime", "INTEGER (11)", "0"}}),
              index_statements("lumo_orders",
                               {{"order_stat", "stat"},
                                {"order_deskid", "deskid"},
                                {"order_addtime", "addtime"},
                                {"order_iscal", "iscal"},
                                {"order_ordid", "ordid"},
                                {"order_tid", "tid"}})});
    t.append({"lumo_caipin",
              create_statement("lumo_caipin",
                               {{"title", "VARCHAR (255)", nullptr},
                                {"titleen", "VARCHAR (255)", nullptr},
                                {"price", "varchar (20)", "0.00"},
                                {"stock", "INTEGER (11)", "0"},
                                {"sort", "INTEGER (11)", "0"},
                                {"cid", "INTEGER (2)", "0"},
                                {"addtime", "INTEGER (11)", "0"},
                                {"istest", "INT (1)", "0"},
                                {"stat", "INT (1)", "0"},
                                {"iszk", "INT (1)", "1"},
                                {"zfid", "VARCHAR (250)", nullptr}}),
              index_statements("lumo_caipin",
                               {{"caipin_stat", "stat"},
                                {"caipin_cid", "cid"},
                                {"caipin_sort", "sort"},
                                {"caipin_iszk", "iszk"},
                                {"caipin_titleen", "titleen"},
                                {"caipin_istest", "istest"}})});
    t.append(
        {"lumo_caipin_zuofa",
         create_statement("lumo_caipin_zuofa",
                          {{"title", "VARCHAR (255)", nullptr}, {"rootid", "INTEGER (11)", "0"}}),
         index_statements("lumo_caipin_zuofa", {{"caipin_zuofa_rootid", "rootid"}})});
    t.append(
        {"lumo_caipin_class",
         create_statement("lumo_caipin_class",
                          {{"title", "VARCHAR (255)", nullptr}, {"sort", "INTEGER (11)", "0"}}),
         index_statements("lumo_caipin_class", {{"caipin_class_sort", "sort"}})});
    t.append({"lumo_system",
              create_statement("lumo_system",
                               {{"username", "VARCHAR (100)", nullptr},
                                {"rndstr", "VARCHAR (20)", nullptr},
                                {"encmd5", "VARCHAR (40)", nullptr},
                                {"shopname", "VARCHAR (100)", nullptr}}),
              {}});
    return t;
}

} // namespace

const QVector<SchemaTable> &schema_tables()
{
    static const QVector<SchemaTable> tables = build();
    return tables;
}

const QStringList &mivo_tables()
{
    static const QStringList tables = {
        // Kitchen stations: which dish categories (ids joined by ",") print where.
        QStringLiteral("CREATE TABLE IF NOT EXISTS mivo_print_station(id INTEGER PRIMARY KEY,"
                       "title TEXT NOT NULL DEFAULT '',printer TEXT NOT NULL DEFAULT '',"
                       "cids TEXT NOT NULL DEFAULT '',copies INTEGER NOT NULL DEFAULT 1,"
                       "enabled INTEGER NOT NULL DEFAULT 1,columns INTEGER NOT NULL DEFAULT 48)"),
        // Everything on its way to a network printer, kept until it printed.
        QStringLiteral("CREATE TABLE IF NOT EXISTS mivo_print_job(id INTEGER PRIMARY KEY,"
                       "station_id INTEGER NOT NULL DEFAULT 0,title TEXT NOT NULL DEFAULT '',"
                       "printer TEXT NOT NULL DEFAULT '',kind TEXT NOT NULL DEFAULT '',"
                       "order_id TEXT NOT NULL DEFAULT '',desk_id TEXT NOT NULL DEFAULT '',"
                       "payload TEXT NOT NULL DEFAULT '',stat INTEGER NOT NULL DEFAULT 0,"
                       "tries INTEGER NOT NULL DEFAULT 0,uncertain INTEGER NOT NULL DEFAULT 0,"
                       "error TEXT NOT NULL DEFAULT '',addtime INTEGER NOT NULL DEFAULT 0,"
                       "sendtime INTEGER NOT NULL DEFAULT 0)"),
        // Order lines the kitchen has: how many, at which stations ("0": the kitchen
        // printer of the settings).
        QStringLiteral("CREATE TABLE IF NOT EXISTS mivo_kitchen_sent(line_id INTEGER PRIMARY "
                       "KEY,order_id TEXT NOT NULL DEFAULT '',stations TEXT NOT NULL DEFAULT '',"
                       "quantity INTEGER NOT NULL DEFAULT 0,addtime INTEGER NOT NULL DEFAULT 0)"),
    };
    return tables;
}

void add_missing_columns(const QString &db_path)
{
    // The columns as the creation statements declare them, read back by SQLite itself.
    TSQLiteDatabase model(QStringLiteral(":memory:"));
    for (const SchemaTable &t : schema_tables())
        model.ExecSQL(t.create);
    TSQLiteDatabase db(db_path);
    for (const SchemaTable &t : schema_tables()) {
        if (!db.TableExists(t.name))
            continue;
        QSet<QString> have;
        for (TSQLiteTable c = db.GetTable(
                 QStringLiteral("SELECT lower(name) FROM pragma_table_info(?)"), {t.name});
             !c.isEof();
             c.Next())
            have.insert(c.FieldAsString(0));
        for (TSQLiteTable c = model.GetTable(
                 QStringLiteral("SELECT name,type,dflt_value FROM pragma_table_info(?) ORDER BY "
                                "cid"),
                 {t.name});
             !c.isEof();
             c.Next()) {
            const QString name = c.FieldAsString(0);
            if (have.contains(name.toLower()))
                continue;
            QString sql = QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                              .arg(t.name, name, c.FieldAsString(1));
            if (!c.FieldIsNull(2))
                sql += QStringLiteral(" DEFAULT (%1)").arg(c.FieldAsString(2));
            try {
                db.ExecSQL(sql);
            } catch (const ESQLiteException &e) {
                throw ESQLiteException(
                    QStringLiteral("表 %1 缺少列 %2，无法补上：%3").arg(t.name, name, e.message()),
                    e.code());
            }
        }
    }
}

void ensure_schema(const QString &db_path)
{
    TSQLiteDatabase db(db_path);
    // Either every missing table appears or none: closing the connection after a
    // failure rolls the whole creation back.
    db.BeginTransaction();
    for (const SchemaTable &t : schema_tables()) {
        if (db.TableExists(t.name))
            continue;
        db.ExecSQL(t.create);
        for (const QString &index : t.indexes)
            db.ExecSQL(index);
        if (t.name == QLatin1String("lumo_system"))
            db.ExecSQL(QStringLiteral("INSERT INTO lumo_system(id,username,rndstr,encmd5,shopname) "
                                      "VALUES(1,'','','','')"));
    }
    // The day's settled total reads settled orders by payment time; without this
    // index it scans every order ever settled. Databases made before it get it too;
    // an older program ignores it.
    if (db.scalar(QStringLiteral("SELECT count(*) FROM pragma_table_info('lumo_orders') "
                                 "where name in('iscal','paytime')"))
        == QLatin1String("2"))
        db.ExecSQL(PaytimeIndex);
    for (const QString &sql : mivo_table_statements())
        db.ExecSQL(sql);
    for (const QString &create : mivo_tables())
        db.ExecSQL(create);
    db.Commit();
}
