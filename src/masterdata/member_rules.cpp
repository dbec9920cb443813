#include "masterdata/member_rules.h"

#include "app/helpers.h"
#include "app/notifier.h"
#include "store/sqlite_db.h"

#include <algorithm>

#include <cmath>

namespace {

bool all_digits(const QString &text)
{
    for (const QChar c : text) {
        if (c < QChar('0') || c > QChar('9'))
            return false;
    }
    return !text.isEmpty();
}

// Deleted members keep their number taken; the edited member's own is not.
bool mobile_taken(TSQLiteDatabase &db, const QString &mobile, const QString &edit_id)
{
    const TSQLiteTable taken
        = edit_id.isEmpty()
              ? db.GetTable(QStringLiteral("SELECT id,mobile FROM lumo_member WHERE mobile=?"),
                            {mobile})
              : db.GetTable(
                  QStringLiteral("SELECT id,mobile FROM lumo_member WHERE mobile=? AND id<>?"),
                  {mobile, edit_id});
    return taken.Count() > 0;
}

const QString MobileTakenText = QStringLiteral("会员号手机号已存在，请确认");

} // namespace

ListQuery member_list_query()
{
    ListQuery q;
    q.count = QStringLiteral("SELECT count(*) AS nums FROM lumo_member");
    q.select
        = QStringLiteral("SELECT id,mobile,truename,balance,zekou,addtime,uptime FROM lumo_member");
    q.order_by = QStringLiteral("ORDER BY id DESC");
    q.condition = [](const QString &keyword) {
        if (keyword.isEmpty())
            return SqlCondition{QStringLiteral("WHERE stat=0"), {}};
        // Mobile numbers are compared as text, so a leading 0 counts; an
        // 11-character name is searched as a name.
        if (keyword.size() == 11 && all_digits(keyword))
            return SqlCondition{QStringLiteral("WHERE stat=0 AND mobile=?"), {keyword}};
        return SqlCondition{QStringLiteral("WHERE stat=0 AND truename LIKE ?") + LikeEscape,
                            {like_pattern(keyword)},
                            true};
    };
    return q;
}

QString zekou_text(const QString &stored)
{
    bool ok = false;
    const double v = stored.toDouble(&ok);
    if (!ok)
        return stored;
    return QString::number(v / 100.0, 'g', 15);
}

Discount member_discount(const QString &text)
{
    Discount d;
    const QString t = text.trimmed().isEmpty() ? QStringLiteral("10") : text.trimmed();
    // Digits and at most one "." with at least one digit; "8.8.8" is no number.
    if (!is_decimal_text(t) || t.count('.') > 1 || t == QLatin1String(".")) {
        d.refusal = QStringLiteral("折扣输入错误，请检查");
        return d;
    }
    // Rounded to two decimals first, as the field shows it.
    const double x = QString::number(t.toDouble(), 'f', 2).toDouble() * 100.0;
    if (x > 1000.0) {
        d.refusal = QStringLiteral("折扣设置超过10了，请检查");
        return d;
    }
    if (x < 100.0) {
        d.refusal = QStringLiteral("折扣设置低于1了，请检查");
        return d;
    }
    d.value = static_cast<int>(std::lround(x));
    return d;
}

MemberEdit read_member(const AppContext &ctx, const QString &id)
{
    TSQLiteDatabase db(ctx.db_path);
    const TSQLiteTable t = db.GetTable(
        QStringLiteral("SELECT id,mobile,truename,zekou,balance FROM lumo_member WHERE id=?"),
        {id});
    if (t.Count() == 0)
        return {};
    MemberEdit m;
    m.found = true;
    m.mobile = t.value(QStringLiteral("mobile"));
    m.truename = t.value(QStringLiteral("truename"));
    m.zekou = QString::number(t.value(QStringLiteral("zekou")).toDouble() / 100.0, 'f', 2);
    m.balance = QStringLiteral("￥") + format_money(t.value(QStringLiteral("balance")).toDouble());
    return m;
}

SaveOutcome save_member(AppContext &ctx, const MemberForm &form)
{
    SaveOutcome out;
    const QString mobile = form.mobile.trimmed();
    const QString name = strip_quotes(form.name);
    if (mobile.isEmpty()) {
        out.message = QStringLiteral("请输入会员手机号");
        return out;
    }
    if (name.isEmpty()) {
        out.message = QStringLiteral("请输入姓名");
        return out;
    }
    // Eleven digits: a "." would pass as a number and leave a member no search finds.
    if (mobile.size() != 11 || !std::all_of(mobile.cbegin(), mobile.cend(), [](QChar c) {
            return c >= QLatin1Char('0') && c <= QLatin1Char('9');
        })) {
        out.message = QStringLiteral("请输入正确的手机号");
        return out;
    }
    {
        TSQLiteDatabase db(ctx.db_path);
        if (mobile_taken(db, mobile, form.edit_id)) {
            out.message = MobileTakenText;
            return out;
        }
    }
    const Discount d = member_discount(form.discount);
    if (!d.refusal.isEmpty()) {
        out.message = d.refusal;
        return out;
    }
    return add_member(ctx, form.edit_id, mobile, name, d.value);
}

SaveOutcome add_member(AppContext &ctx,
                       const QString &edit_id,
                       const QString &mobile_text,
                       const QString &name_text,
                       int discount)
{
    SaveOutcome out;
    const QString mobile = strip_quotes(mobile_text);
    const QString name = strip_quotes(name_text);
    const QString now = unix_now(ctx.clock());
    TSQLiteDatabase db(ctx.db_path);
    db.transaction([&] {
        // Again under the write lock: another counter may have taken the number since
        // the first check.
        if (mobile_taken(db, mobile, edit_id)) {
            out.message = MobileTakenText;
            return;
        }
        if (!edit_id.isEmpty()) {
            if (db.scalar(QStringLiteral("SELECT count(*) FROM lumo_member WHERE id=?"), {edit_id})
                == QLatin1String("0")) {
                out.message = RecordGoneText;
                return;
            }
            db.ExecSQL(
                QStringLiteral(
                    "UPDATE lumo_member SET mobile=?,truename=?,zekou=?,uptime=? WHERE id=?"),
                {mobile, name, discount, now, edit_id});
            out.id = edit_id;
            out.message = QStringLiteral("会员信息修改成功");
        } else {
            db.ExecSQL(QStringLiteral("INSERT INTO lumo_member(mobile,truename,zekou,balance,"
                                      "addtime,uptime,stat) VALUES(?,?,?,0,?,?,0)"),
                       {mobile, name, discount, now, now});
            out.id = QString::number(db.GetLastInsertRowID());
            out.message = QStringLiteral("会员信息录入成功");
        }
        out.saved = true;
    });
    if (out.saved)
        ctx.notifier().member_changed(out.id);
    return out;
}

void delete_member(AppContext &ctx, const QString &id)
{
    TSQLiteDatabase db(ctx.db_path);
    db.ExecSQL(QStringLiteral("UPDATE lumo_member SET stat=4 WHERE id=?"), {id});
    ctx.notifier().member_changed(id);
}
