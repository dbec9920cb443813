#include "settings/system_settings.h"

#include "app/helpers.h"
#include "app/ini.h"
#include "app/notifier.h"
#include "settings/online_settings.h"
#include "store/sqlite_db.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString no_printer_text()
{
    return QStringLiteral("请选择打印机");
}

SystemFields fields_for_showing(AppContext &ctx)
{
    Settings &s = ctx.settings;
    SystemFields f;
    f.shopname = s.shopname;
    f.shopaddress = s.shopaddress;
    f.shoptel = s.shoptel;
    f.is_shopaddress = s.is_shopaddress == 1;
    f.is_shoptel = s.is_shoptel == 1;
    f.is_paytime = s.is_paytime == 1;
    f.kdprintname = s.kdprintname;
    f.cdprintname = s.cdprintname;
    f.kdprintnums = QString::number(s.kdprintnums);
    f.cdprintnums = QString::number(s.cdprintnums);
    f.kdstr = s.kdstr;
    f.cdstr = s.cdstr;
    f.kdtop = s.kdtop;
    f.kdhj = s.kdhj;
    f.cdtop = s.cdtop;
    f.cdhj = s.cdhj;
    f.time_tb = QString::number(s.time_tb);
    f.is_time_tb = s.is_time_tb == 1;
    f.desk_perpage = QString::number(s.desk_perpage);
    f.caipin_perpage = QString::number(s.caipin_perpage);
    f.cwf_tit = s.cwf_tit;
    f.cwf = s.cwf;

    const IniFile ini(ctx.paths.ini);
    if (ini.exists()) {
        // An empty position text keeps what the field had.
        const QString kdstr = ini.readString("Print", "kdstr");
        if (!kdstr.isEmpty())
            f.kdstr = kdstr;
        const QString cdstr = ini.readString("Print", "cdstr");
        if (!cdstr.isEmpty())
            f.cdstr = cdstr;
        f.kdtop = ini.readString("Print", "kdtop", QStringLiteral("0.06"));
        f.kdhj = ini.readString("Print", "kdhj", QStringLiteral("0.45"));
        f.cdtop = ini.readString("Print", "cdtop", QStringLiteral("0.06"));
        f.cdhj = ini.readString("Print", "cdhj", QStringLiteral("0.45"));
        f.time_tb = QString::number(ini.readInt("System", "time_tb", 10));
        f.is_time_tb = ini.readInt("System", "is_time_tb", 0) == 1;
        s.desk_perpage = ini.readInt("Config", "desk_perpage", 36);
        s.caipin_perpage = ini.readInt("Config", "caipin_perpage", 81);
        s.cwf_tit = ini.readString("Config", "cwf_tit", QStringLiteral("餐具"));
        s.cwf = ini.readString("Config", "cwf", QStringLiteral("0.00"));
        f.desk_perpage = QString::number(s.desk_perpage);
        f.caipin_perpage = QString::number(s.caipin_perpage);
        f.cwf_tit = s.cwf_tit;
        f.cwf = s.cwf;
    }
    f.path = ini.readString("Data", "path");
    f.payservice_url = ini.exists() ? ini.readString("Payservice", "url") : s.payservice_url;
    f.service_username = ctx.service.username;
    return f;
}

QString database_path_problem(const QString &path)
{
    const QString p = path.trimmed();
    if (p.isEmpty())
        return {};
    const QFileInfo info(p);
    if (info.isDir())
        return QStringLiteral("数据库路径是一个文件夹，请填写数据库文件的完整路径");
    if (!info.absoluteDir().exists())
        return QStringLiteral("数据库路径所在的文件夹不存在，请检查数据库路径");
    if (!info.exists())
        return {}; // a new database is created there at the next start
    QFile f(p);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("数据库文件无法读取，请检查数据库路径");
    // An empty file is what SQLite itself leaves for a new database.
    const QByteArray head = f.read(16);
    if (!head.isEmpty() && head != QByteArray("SQLite format 3\0", 16))
        return QStringLiteral("数据库路径指向的文件不是SQLite数据库，请检查数据库路径");
    return {};
}

namespace {

bool positions_ok(const QString &text, int pieces)
{
    const QStringList parts = text.split(QChar(','));
    if (parts.size() != pieces)
        return false;
    for (const QString &p : parts) {
        if (!is_num_text(p.trimmed()))
            return false;
    }
    return true;
}

QString printer_name(const QString &text)
{
    const QString t = text.trimmed();
    return t == no_printer_text() ? QString() : t;
}

} // namespace

SettingsSaved save_system_settings(AppContext &ctx, const SystemFields &f)
{
    Settings &s = ctx.settings;
    s.kdprintname = printer_name(f.kdprintname);
    s.cdprintname = printer_name(f.cdprintname);
    s.is_shopaddress = f.is_shopaddress ? 1 : 0;
    s.is_shoptel = f.is_shoptel ? 1 : 0;
    s.is_paytime = f.is_paytime ? 1 : 0;

    const QString kdstr = f.kdstr.trimmed();
    const QString cdstr = f.cdstr.trimmed();
    const QString kdtop = f.kdtop.trimmed();
    const QString kdhj = f.kdhj.trimmed();
    const QString cdtop = f.cdtop.trimmed();
    const QString cdhj = f.cdhj.trimmed();
    if (!positions_ok(kdstr, 3))
        return {QStringLiteral("客打打印机参数设置错误"), {}};
    if (!positions_ok(cdstr, 5))
        return {QStringLiteral("厨打打印机参数设置错误"), {}};
    if (!is_num_text(cdtop))
        return {QStringLiteral("厨打打印机上边距设置错误"), {}};
    if (!is_num_text(cdhj))
        return {QStringLiteral("厨打打印机行距设置错误"), {}};
    if (!is_num_text(kdtop))
        return {QStringLiteral("客打打印机上边距设置错误"), {}};
    if (!is_num_text(kdhj))
        return {QStringLiteral("客打打印机行距设置错误"), {}};
    const int time_tb = int(int_value(f.time_tb.trimmed(), 10));
    if (time_tb <= 0)
        return {QStringLiteral("多设备同步时间设置错误，最少1秒"), {}};
    const QString path = f.path.trimmed();
    if (const QString problem = database_path_problem(path); !problem.isEmpty())
        return {problem, {}};
    const QString payservice_url = f.payservice_url.trimmed();
    if (const QString problem = payservice_url_problem(payservice_url); !problem.isEmpty())
        return {problem, {}};

    const int kdprintnums = int(int_value(f.kdprintnums.trimmed(), 1000));
    const int cdprintnums = int(int_value(f.cdprintnums.trimmed(), 1000));
    const QString cwf = is_num_text(f.cwf.trimmed()) ? f.cwf.trimmed() : QStringLiteral("0.00");
    const QString cwf_tit = strip_quotes(f.cwf_tit.trimmed());
    const int desk_perpage = int(int_value(f.desk_perpage.trimmed(), 36));
    const int caipin_perpage = int(int_value(f.caipin_perpage.trimmed(), 81));

    try {
        save_service_account(ctx, f.service_username, f.service_password);
    } catch (const ESQLiteException &) {
        return {QStringLiteral("服务账号无法保存到数据库，请稍后再试"), {}};
    }

    const IniFile ini(ctx.paths.ini);
    // One key at a time, in this order; a file that cannot be written stops at once.
    const std::pair<const char *, std::pair<const char *, QString>> writes[] = {
        {"Shopinfo", {"shopname", f.shopname}},
        {"Shopinfo", {"shopaddress", f.shopaddress}},
        {"Shopinfo", {"shoptel", f.shoptel}},
        {"Shopinfo", {"is_shopaddress", QString::number(s.is_shopaddress)}},
        {"Shopinfo", {"is_shoptel", QString::number(s.is_shoptel)}},
        {"Shopinfo", {"is_paytime", QString::number(s.is_paytime)}},
        {"Print", {"cdprintname", s.cdprintname}},
        {"Print", {"cdprintnums", QString::number(cdprintnums)}},
        {"Print", {"kdprintname", s.kdprintname}},
        {"Print", {"kdprintnums", QString::number(kdprintnums)}},
        {"System", {"time_tb", QString::number(time_tb)}},
        {"System", {"is_time_tb", f.is_time_tb ? QStringLiteral("1") : QStringLiteral("0")}},
        {"Print", {"kdstr", kdstr}},
        {"Print", {"cdstr", cdstr}},
        {"Print", {"cdtop", cdtop}},
        {"Print", {"cdhj", cdhj}},
        {"Print", {"kdtop", kdtop}},
        {"Print", {"kdhj", kdhj}},
        {"Data", {"path", path}},
        {"Config", {"desk_perpage", QString::number(desk_perpage)}},
        {"Config", {"caipin_perpage", QString::number(caipin_perpage)}},
        {"Config", {"cwf_tit", cwf_tit}},
        {"Config", {"cwf", cwf}},
        {"Payservice", {"url", payservice_url}},
    };
    for (const auto &[section, kv] : writes) {
        if (!ini.writeString(
                QString::fromLatin1(section), QString::fromLatin1(kv.first), kv.second))
            return {QStringLiteral("配置文件无法写入，请检查文件权限：") + ini.path(), {}};
    }

    s.kdprintnums = kdprintnums;
    s.cdprintnums = cdprintnums;
    s.cwf = cwf;
    s.cwf_tit = cwf_tit;
    s.desk_perpage = desk_perpage;
    s.caipin_perpage = caipin_perpage;
    s.kdstr = kdstr;
    s.cdstr = cdstr;
    s.kdtop = kdtop;
    s.kdhj = kdhj;
    s.cdtop = cdtop;
    s.cdhj = cdhj;
    s.time_tb = time_tb;
    s.is_time_tb = f.is_time_tb ? 1 : 0;
    s.shopname = f.shopname.isEmpty() ? QStringLiteral("匿名店铺") : f.shopname;
    s.shopaddress = f.shopaddress;
    s.shoptel = f.shoptel;
    s.payservice_url = payservice_url;

    ctx.notifier().settings_changed();
    SettingsSaved out;
    out.saved = path.isEmpty() ? QStringLiteral("配置保存成功")
                               : QStringLiteral("配置保存成功，如数据库路径有变重，请重启软件生效");
    return out;
}
