#include "app/helpers.h"
#include "app/notifier.h"

#include "app/gbk.h"
#include "store/schema.h"
#include "store/sqlite_db.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

#include <cmath>

QString role_name(const QString &value)
{
    const QString v = value.trimmed();
    if (v == QLatin1String("1"))
        return QStringLiteral("点菜师");
    if (v == QLatin1String("3"))
        return QStringLiteral("保洁员");
    if (v == QLatin1String("5"))
        return QStringLiteral("厨师");
    if (v == QLatin1String("9"))
        return QStringLiteral("管理员");
    return {};
}

QString line_stat_name(const QString &value)
{
    const QString v = value.trimmed();
    if (v.isEmpty() || v == QLatin1String("0"))
        return QStringLiteral("已下单");
    if (v == QLatin1String("1"))
        return QStringLiteral("已打单");
    if (v == QLatin1String("2"))
        return QStringLiteral("开始炒菜");
    if (v == QLatin1String("3"))
        return QStringLiteral("已出餐");
    if (v == QLatin1String("8"))
        return QStringLiteral("已退菜");
    if (v == QLatin1String("9"))
        return QStringLiteral("已结算");
    return {};
}

QString desk_stat_name(const QString &value)
{
    const QString v = value.trimmed();
    if (v.isEmpty() || v == QLatin1String("0"))
        return QStringLiteral("空闲");
    if (v == QLatin1String("1"))
        return QStringLiteral("开台");
    if (v == QLatin1String("3"))
        return QStringLiteral("预订");
    if (v == QLatin1String("5"))
        return QStringLiteral("清扫");
    if (v == QLatin1String("7"))
        return QStringLiteral("消台");
    return {};
}

QString pay_type_name(const QString &value)
{
    // 5 is what "现金(直接结算)" stores and 6 what "银行卡(直接结算)" stores.
    static const char *names[]
        = {"未支付", "微信在线", "支付宝在线", "微信线下", "支付宝线下", "现金", "银行卡", "其它"};
    const QString v = value.trimmed();
    bool ok = false;
    const int n = v.toInt(&ok);
    if (ok && n >= 0 && n <= 7 && v == QString::number(n))
        return QString::fromUtf8(names[n]);
    if (v == QLatin1String("9"))
        return QStringLiteral("余额支付");
    return QStringLiteral("未支付");
}

// ---- checks ----

namespace {

bool parse_int(const QString &text, qint64 *out)
{
    static const QRegularExpression dec(QStringLiteral("^[+-]?[0-9]+$"));
    static const QRegularExpression hex(QStringLiteral("^[+-]?(\\$|0[xX])([0-9A-Fa-f]+)$"));
    bool ok = false;
    qint64 v = 0;
    if (dec.match(text).hasMatch()) {
        v = text.toLongLong(&ok);
    } else if (const auto m = hex.match(text); m.hasMatch()) {
        const QString digits = m.captured(2);
        if (digits.size() <= 8) {
            const quint64 u = digits.toULongLong(&ok, 16);
            // Hexadecimal forms wrap like the 32-bit integer they denote.
            v = qint64(qint32(quint32(u)));
            if (text.startsWith(QChar('-')))
                v = -v;
        }
    }
    if (!ok || v < INT32_MIN || v > INT32_MAX)
        return false;
    if (out)
        *out = v;
    return true;
}

bool parse_decimal(const QString &text, double *out)
{
    static const QRegularExpression re(
        QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?$"));
    if (!re.match(text).hasMatch())
        return false;
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    if (out)
        *out = v;
    return true;
}

} // namespace

bool is_int_text(const QString &text)
{
    return parse_int(text, nullptr);
}

bool is_num_text(const QString &text)
{
    return parse_int(text, nullptr) || parse_decimal(text, nullptr);
}

double num_value(const QString &text)
{
    qint64 i = 0;
    if (parse_int(text, &i))
        return double(i);
    double d = 0;
    if (parse_decimal(text, &d))
        return d;
    return 0.0;
}

qint64 int_value(const QString &text, qint64 def)
{
    qint64 i = 0;
    return parse_int(text, &i) ? i : def;
}

bool is_decimal_text(const QString &text)
{
    if (text.trimmed().isEmpty())
        return false;
    for (const QChar c : text) {
        if (!(c == QChar('.') || (c >= QChar('0') && c <= QChar('9'))))
            return false;
    }
    return true;
}

bool check_one_point(const QString &text, Prompts &prompts)
{
    if (text.count(QChar('.')) <= 1)
        return true;
    prompts.warning(QStringLiteral("请检查小数点输入是否正确！"));
    return false;
}

bool is_letters(const QString &text)
{
    for (const QChar c : text) {
        if (!((c >= QChar('A') && c <= QChar('Z')) || (c >= QChar('a') && c <= QChar('z'))))
            return false;
    }
    return true;
}

bool is_user_name(const QString &text)
{
    const QString t = text.trimmed().toLower();
    if (t.size() < 2 || !(t.at(0) >= QChar('a') && t.at(0) <= QChar('z')))
        return false;
    for (const QChar c : t) {
        if (!((c >= QChar('a') && c <= QChar('z')) || (c >= QChar('0') && c <= QChar('9'))
              || c == QChar('_')))
            return false;
    }
    return true;
}

// ---- text ----

QString strip_quotes(const QString &text)
{
    // Control characters (a pasted line break, tab or NUL) have no place in any
    // field; blanks that stood between quotes are trimmed too, so a text of
    // quotes and blanks is empty.
    QString t;
    t.reserve(text.size());
    for (const QChar c : text)
        if (c.category() != QChar::Other_Control)
            t += c;
    t.remove(QChar('\''));
    return t.trimmed();
}

QStringList split_text(const QString &text, const QString &separator)
{
    if (separator.isEmpty())
        return {text};
    return text.split(separator, Qt::KeepEmptyParts);
}

QString text_between(const QString &text, const QString &start, const QString &end)
{
    const qsizetype s = text.indexOf(start);
    if (s < 0 || !text.contains(end))
        return {};
    const qsizetype from = s + start.size();
    const qsizetype e = text.indexOf(end, from);
    if (e < 0)
        return {};
    return text.mid(from, e - from);
}

QString format_num(const QString &text, int decimals)
{
    return QString::asprintf("%.*f", decimals, num_value(text));
}

QString format_money(double value)
{
    return QString::asprintf("%.2f", value);
}

QString line_number(int n)
{
    return n < 10 ? QStringLiteral("0%1").arg(n) : QString::number(n);
}

// ---- time and identities ----

qint64 unix_now_secs(const Clock &clock)
{
    const qint64 ms = clock.now_ms();
    // Rounded up to the next whole second.
    return ms >= 0 ? (ms + 999) / 1000 : -((-ms) / 1000);
}

QString unix_now(const Clock &clock)
{
    return QString::number(unix_now_secs(clock));
}

QString format_time(const QString &seconds)
{
    const QString s = seconds.trimmed();
    if (s.isEmpty() || s == QLatin1String("0"))
        return {};
    bool ok = false;
    const qint64 v = s.toLongLong(&ok);
    if (!ok)
        return {};
    return QDateTime::fromSecsSinceEpoch(v, Qt::UTC).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString make_ordid(const Clock &clock, Random &random, const QString &infix)
{
    const qint64 ms = clock.now_ms();
    const qint64 s = ms >= 0 ? (ms + 999) / 1000 : ms / 1000;
    const QString stamp
        = QDateTime::fromSecsSinceEpoch(s, Qt::UTC).toString(QStringLiteral("yyMMddHHmmss"));
    const QString msText = QString::number(ms);
    return stamp + infix + msText.right(4) + QString::number(random.bounded(99));
}

QString random_letters(Random &random, int n)
{
    QString out;
    out.reserve(n);
    for (int i = 0; i < n; ++i)
        out += QChar('a' + random.bounded(26));
    return out;
}

QString md5_hex(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

QString pass_digest(const QString &password, const QString &salt)
{
    // Older installations hashed the password's bytes in the legacy code page
    // (GBK); ASCII passwords give the same bytes either way.
    const QString d1 = md5_hex(to_gbk(password));
    return md5_hex((d1 + salt).toUtf8());
}

// ---- database helpers ----

QString get_desk_field(const AppContext &ctx, const QString &desk_id, const QString &column)
{
    ensure_schema(ctx.db_path);
    // The column is one of ours, never user input; only the id is a value.
    static const QRegularExpression ident(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (!ident.match(column).hasMatch())
        return {};
    TSQLiteDatabase db(ctx.db_path);
    return db.scalar(QStringLiteral("SELECT %1 FROM lumo_desk where id=? limit 1").arg(column),
                     {desk_id});
}

bool check_login(AppContext &ctx, const QString &username, const QString &digest)
{
    // An account that no longer verifies is signed out, and the screens follow.
    const auto drop = [&ctx] {
        const bool was_signed_in = ctx.account.uid != 0;
        ctx.account.clear();
        if (was_signed_in)
            ctx.notifier().account_changed();
    };
    if (username.isEmpty() || digest.isEmpty()) {
        drop();
        return false;
    }
    TSQLiteDatabase db(ctx.db_path);
    const TSQLiteTable t = db.GetTable(
        QStringLiteral("SELECT id,username,encmd5,tid FROM lumo_admin where username=?"),
        {username});
    if (t.Count() == 0) {
        drop();
        return false;
    }
    QString tid = t.value(QStringLiteral("tid"));
    if (tid.isEmpty())
        tid = QStringLiteral("1");
    // Blanks around the stored digest are no part of it, as at login.
    if (digest != t.value(QStringLiteral("encmd5")).trimmed()) {
        drop();
        return false;
    }
    ctx.account.uid = t.value(QStringLiteral("id")).toLongLong();
    ctx.account.username = username;
    ctx.account.digest = digest;
    ctx.account.role = tid.toInt();
    return true;
}

// ---- files ----

bool force_folder(const QString &path)
{
    QDir().mkpath(path);
    return QDir(path).exists();
}

bool write_text_file(const QString &text, const QString &path)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write((text + QChar('\n')).toUtf8());
    return f.commit();
}
