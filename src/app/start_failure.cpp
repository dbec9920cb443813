#include "app/start_failure.h"

#include "settings/backup.h"
#include "store/sqlite_db.h"

#include <sqlite3.h>

#include <QDir>
#include <QFileInfo>

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString newest_backup_text(const Paths &paths)
{
    const QVector<BackupEntry> backups = list_backups(backup_folder(paths));
    if (backups.isEmpty())
        return QStringLiteral("备份文件夹 %1 中没有备份。").arg(native(backup_folder(paths)));
    const BackupEntry &b = backups.first();
    return QStringLiteral(
               "最新的备份是 %1（%2）。可以关闭程序，把这个备份复制为上面的数据库文件后重新启动。")
        .arg(native(b.path), b.time.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
}

QString explanation(const AppContext &ctx, int code)
{
    const QString file = native(ctx.db_path);
    switch (code) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("数据库正忙，暂时打不开：\n%"
                              "1\n\n另一台收银机可能正在写入这个文件。请稍后点“重试”。")
            .arg(file);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return QStringLiteral("数据库文件已损坏，无法使用：\n%1\n\n程序没有改动这个文件。")
                   .arg(file)
               + newest_backup_text(ctx.paths);
    case SQLITE_READONLY:
        return QStringLiteral("数据库文件或它所在的文件夹是只读的，无法保存任何数据：\n%"
                              "1\n\n请检查它们的写入权限后点“重试”。")
            .arg(file);
    case SQLITE_CANTOPEN:
        if (!QFileInfo(ctx.db_path).absoluteDir().exists())
            return QStringLiteral("找不到数据库文件所在的文件夹：\n%1\n\n请检查网络共享或 info.ini "
                                  "中 [Data] path 的设置后点“重试”。")
                .arg(native(QFileInfo(ctx.db_path).absolutePath()));
        return QStringLiteral("无法打开数据库文件：\n%1\n\n请检查文件的访问权限后点“重试”。")
            .arg(file);
    default:
        return QStringLiteral("无法使用数据库文件：\n%1").arg(file);
    }
}

} // namespace

QString start_failure_text(const AppContext &ctx, const ESQLiteException &e)
{
    QString detail = e.message();
    detail.replace(QChar('\r'), QChar('\n'));
    return explanation(ctx, e.code()) + QStringLiteral("\n\n") + detail;
}

QString config_write_problem(const Paths &paths)
{
    // A write puts a new file beside the old one and renames it: the folder must take
    // a new file, and the file itself must not refuse changes. The system is asked
    // for both (read-only and immutable included); neither is opened or written.
    const QFileInfo ini(paths.ini);
    const bool writable
        = QFileInfo(paths.config).isWritable() && (!ini.exists() || ini.isWritable());
    if (writable)
        return QString();
    return QStringLiteral("配置文件无法写入：\n%"
                          "1\n\n登录状态和设置都不能保存，下次启动需要重新登录。请检查它和所在文件"
                          "夹的写入权限。")
        .arg(native(paths.ini));
}

QString login_not_remembered_text(const Paths &paths)
{
    return QStringLiteral("登录成功，但无法记住登录：配置文件 %1 无法写入，下次启动需要重新登录。")
        .arg(native(paths.ini));
}

QString logout_not_remembered_text(const Paths &paths, const QString &username)
{
    return QStringLiteral("已退出登录，但配置文件 %1 无法写入：下次启动时仍会以 %2 "
                          "自动登录。请检查它的写入权限。")
        .arg(native(paths.ini), username);
}

QString profile_not_remembered_text(const Paths &paths)
{
    return QStringLiteral("资料修改成功，但配置文件 %1 无法写入：下次启动需要用新密码重新登录。"
                          "请检查它的写入权限。")
        .arg(native(paths.ini));
}
