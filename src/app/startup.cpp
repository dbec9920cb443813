#include "app/startup.h"

#include "app/helpers.h"
#include "app/ini.h"
#include "staff/accounts.h"
#include "staff/login.h"
#include "staff/login_token.h"
#include "store/db_check.h"
#include "store/schema.h"
#include "store/sqlite_db.h"

#include <QDir>
#include <QFile>

Paths derive_paths(const QString &program_folder)
{
    Paths p;
    p.program = QDir::fromNativeSeparators(program_folder);
    if (!p.program.endsWith(QChar('/')))
        p.program += QChar('/');
    p.config = p.program + QStringLiteral("config/");
    p.log = p.program + QStringLiteral("log/");
    p.ini = p.config + QStringLiteral("info.ini");
    p.default_db = p.program + QStringLiteral("tavira.db");
    return p;
}

Settings load_settings(const IniFile &ini)
{
    Settings s;
    s.kdprintname = ini.readString("Print", "kdprintname");
    s.cdprintname = ini.readString("Print", "cdprintname");
    s.kdprintnums = ini.readInt("Print", "kdprintnums", 1000);
    s.cdprintnums = ini.readInt("Print", "cdprintnums", 1000);
    s.payservice_url = ini.readString("Payservice", "url");

    s.shopname = ini.readString("Shopinfo", "shopname");
    if (s.shopname.isEmpty())
        s.shopname = QStringLiteral("匿名店铺");
    s.shopaddress = ini.readString("Shopinfo", "shopaddress");
    s.shoptel = ini.readString("Shopinfo", "shoptel");
    s.is_shopaddress = ini.readInt("Shopinfo", "is_shopaddress", 0);
    s.is_shoptel = ini.readInt("Shopinfo", "is_shoptel", 0);
    s.is_paytime = ini.readInt("Shopinfo", "is_paytime", 0);
    s.time_tb = ini.readInt("System", "time_tb", 10);
    // The board re-reads the database on every tick: an interval of 0 would do it
    // without pause and freeze the counter.
    if (s.time_tb < 1)
        s.time_tb = 1;
    s.is_time_tb = ini.readInt("System", "is_time_tb", 0);
    s.desk_perpage = ini.readInt("Config", "desk_perpage", 36);
    s.caipin_perpage = ini.readInt("Config", "caipin_perpage", 81);
    s.defaultpay = ini.readString("Config", "defaultpay");
    s.cwf_tit = ini.readString("Config", "cwf_tit", QStringLiteral("餐具"));
    s.cwf = ini.readString("Config", "cwf", QStringLiteral("0.00"));
    s.isautobackup = ini.readInt("Config", "isautobackup", 0);
    s.backuph = ini.readInt("Config", "backuph", 5);
    s.kdstr = ini.readString("Print", "kdstr", QStringLiteral("0.0,3.1,3.7"));
    s.cdstr = ini.readString("Print", "cdstr", QStringLiteral("0.0,3.1,3.7,4.7,5.7"));
    s.kdtop = ini.readString("Print", "kdtop", QStringLiteral("0.06"));
    s.kdhj = ini.readString("Print", "kdhj", QStringLiteral("0.45"));
    s.cdtop = ini.readString("Print", "cdtop", QStringLiteral("0.06"));
    s.cdhj = ini.readString("Print", "cdhj", QStringLiteral("0.45"));
    return s;
}

void keep_database_private(const QString &db_path)
{
    // Other counters sharing the file reach it through its group; the world does not.
    const QFileDevice::Permissions kept = QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                          | QFileDevice::ReadGroup | QFileDevice::WriteGroup;
    const QFileDevice::Permissions all = kept | QFileDevice::ExeOwner | QFileDevice::ExeGroup
                                         | QFileDevice::ReadOther | QFileDevice::WriteOther
                                         | QFileDevice::ExeOther;
    const QFileDevice::Permissions now = QFile::permissions(db_path) & all;
    if (QFile::exists(db_path) && (now & ~kept))
        QFile::setPermissions(db_path, now & kept);
}

void start_core(AppContext &ctx, const QString &program_folder)
{
    ctx.paths = derive_paths(program_folder);
    ctx.db_path = ctx.paths.default_db;
    force_folder(ctx.paths.log);
    force_folder(ctx.paths.config);

    const IniFile ini(ctx.paths.ini);
    const QString path = ini.readString("Data", "path");
    if (!path.isEmpty())
        ctx.db_path = path;
    ctx.settings = load_settings(ini);
    ctx.desk_id.clear();
    ctx.desk_bh.clear();

    // A damaged, locked or read-only file stops here, before the schema step writes.
    check_database(ctx.db_path);
    ensure_schema(ctx.db_path);
    // A column dropped since (by hand, by a tool) comes back before any screen reads it.
    add_missing_columns(ctx.db_path);
    const bool tokens_new = ensure_login_tokens(ctx.db_path);
    keep_database_private(ctx.db_path);

    ctx.account.clear();
    {
        TSQLiteDatabase db(ctx.db_path);
        const TSQLiteTable t = db.GetTable(
            QStringLiteral("SELECT username,encmd5 FROM lumo_system where id=1 limit 1"));
        if (t.Count() > 0) {
            ctx.service.username = t.value("username");
            ctx.service.encmd5 = t.value("encmd5");
        }
    }
    admin_init(ctx);
    // The remembered login from the same reading: the file is read once at start-up.
    check_local_login(ctx, ini, tokens_new);
}
