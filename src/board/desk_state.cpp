#include "board/desk_state.h"

#include "app/helpers.h"
#include "app/input_checks.h"
#include "app/notifier.h"
#include "ordering/orders.h"
#include "staff/sign_in.h"
#include "store/sqlite_db.h"

namespace {

const QString DeskQuery
    = QStringLiteral("SELECT id,title,bh,nums,addtime,price,ydtruename,yj,fwy,gldesk,stat FROM "
                     "lumo_desk where id=?");

DeskRow row_of(TSQLiteDatabase &db, const QString &desk_id)
{
    DeskRow r;
    if (desk_id.isEmpty())
        return r;
    const TSQLiteTable t = db.GetTable(DeskQuery, {desk_id});
    if (t.Count() == 0)
        return r;
    r.found = true;
    r.id = t.value(QStringLiteral("id"));
    r.title = t.value(QStringLiteral("title"));
    r.bh = t.value(QStringLiteral("bh"));
    r.nums = t.value(QStringLiteral("nums"));
    r.addtime = t.value(QStringLiteral("addtime"));
    r.price = t.value(QStringLiteral("price"));
    r.ydtruename = t.value(QStringLiteral("ydtruename"));
    r.yj = t.value(QStringLiteral("yj"));
    r.fwy = t.value(QStringLiteral("fwy"));
    r.gldesk = t.value(QStringLiteral("gldesk"));
    r.stat = t.value(QStringLiteral("stat"));
    return r;
}

const QString Missing = QStringLiteral("还桌号不存在可能已删除");

// Status codes: free, or holding guests (open or reserved).
bool is_free(const QString &code)
{
    return code == QLatin1String("0");
}
bool is_taken(const QString &code)
{
    return code == QLatin1String("1") || code == QLatin1String("3");
}

} // namespace

DeskRow read_desk_row(const AppContext &ctx, const QString &desk_id)
{
    if (desk_id.isEmpty())
        return {};
    TSQLiteDatabase db(ctx.db_path);
    return row_of(db, desk_id);
}

QString desk_stat_code(const QString &stat)
{
    const QString s = stat.trimmed();
    return s.isEmpty() ? QStringLiteral("0") : s;
}

DeskStateResult save_desk_state(AppContext &ctx, const DeskStateForm &form)
{
    return save_desk_state(ctx, ctx.desk_id, form);
}

DeskStateResult save_desk_state(AppContext &ctx,
                                const QString &desk,
                                const DeskStateForm &form,
                                const QString &shown_stat)
{
    DeskStateResult result;
    if (!signed_in(ctx)) {
        result.message = SignInFirstText;
        return result;
    }
    if (desk.isEmpty()) {
        result.message = QStringLiteral("还未选择桌号操作");
        return result;
    }
    // A deposit or guest count that is not one is refused before anything is asked.
    const CheckedNumber deposit = check_deposit(form.yj);
    const CheckedNumber guests = check_guests(form.nums);
    for (const CheckedNumber &c : {deposit, guests}) {
        if (!c.ok()) {
            result.message = c.refusal;
            return result;
        }
    }
    if (!ctx.prompts().confirm(QStringLiteral("确认要保存吗")))
        return result;
    if (!read_desk_row(ctx, desk).found) {
        result.message = Missing;
        return result;
    }

    // Stored as numbers: the table's column holds a real, the order's a text.
    const QString yj = general_decimal(deposit.value);
    const QString nums = QString::number(guests.whole());
    // Names end up in other counters' statements: no single quotes, as everywhere.
    const QString name = strip_quotes(form.ydtruename);
    const QString fwy = strip_quotes(form.fwy);

    TSQLiteDatabase db(ctx.db_path);
    // The open order, the table and the order change together or not at all.
    db.transaction([&] {
        // Read again inside the transaction: another counter may have changed it.
        const DeskRow row = row_of(db, desk);
        if (!row.found) {
            result.message = Missing;
            return;
        }
        const QString current = desk_stat_code(row.stat);
        const bool was_free = is_free(current);
        const bool was_taken = is_taken(current);
        // Saving over a table another counter settled or opened meanwhile would open a
        // table the guests have left, or mix two parties on one bill.
        if (!shown_stat.isEmpty()) {
            const QString shown = desk_stat_code(shown_stat);
            if ((is_taken(shown) && was_free) || (is_free(shown) && was_taken)) {
                result.stale = true;
                result.message = was_free
                                     ? QStringLiteral("此桌位已在别处结算或消台，请核对后重新操作")
                                     : QStringLiteral("此桌位已在别处开台或预订，请核对后重新操作");
                return;
            }
        }
        QString order;
        switch (form.stat) {
        case 1:
            if (!was_free && !was_taken) {
                result.message = QStringLiteral("开台失败，当前状态下不能开台");
                return;
            }
            order = add_order_for_desk(ctx, db, desk, name, yj, fwy, nums);
            break;
        case 3:
            if (!was_free && !was_taken) {
                result.message = QStringLiteral("预订失败，当前状态下不能预订");
                return;
            }
            order = add_order_for_desk(ctx, db, desk, name, yj, fwy, nums);
            break;
        case 0:
            if (!was_free) {
                result.message = QStringLiteral(
                    "不能更改状态，已开台和预订的桌位不能设置空闲，如需设置请结算消台");
                return;
            }
            break;
        default:
            return;
        }

        // Only the fields that changed, so a save does not overwrite what another
        // screen wrote meanwhile.
        QString deskSql = QStringLiteral("UPDATE lumo_desk set stat=?");
        QString orderSql = QStringLiteral("UPDATE lumo_orders set stat=?");
        SqlParams deskParams{form.stat};
        SqlParams orderParams{form.stat};
        const auto both
            = [&](const QString &deskCol, const QString &orderCol, const QVariant &value) {
                  deskSql += QStringLiteral(",%1=?").arg(deskCol);
                  orderSql += QStringLiteral(",%1=?").arg(orderCol);
                  deskParams << value;
                  orderParams << value;
              };
        if (!is_num_text(row.yj) || num_value(row.yj) != deposit.value) {
            deskSql += QStringLiteral(",yj=?");
            orderSql += QStringLiteral(",yj=?");
            deskParams << deposit.value;
            orderParams << yj;
        }
        if (nums != row.nums)
            both(QStringLiteral("nums"), QStringLiteral("nums"), guests.whole());
        if (name != row.ydtruename)
            both(QStringLiteral("ydtruename"), QStringLiteral("truename"), name);
        if (fwy != row.fwy)
            both(QStringLiteral("fwy"), QStringLiteral("fwy"), fwy);
        if (was_free && (form.stat == 1 || form.stat == 3)) {
            deskSql += QStringLiteral(",addtime=?");
            deskParams << unix_now_secs(ctx.clock());
        }
        db.ExecSQL(deskSql + QStringLiteral(" where id=?"), deskParams << desk);
        if (!order.isEmpty())
            db.ExecSQL(orderSql + QStringLiteral(" where id=?"), orderParams << order);
        result.saved = true;
        result.order_id = order;
        result.message = QStringLiteral("操作成功");
    });
    // A stale save wrote nothing, but the screens still show what another counter changed.
    if (result.saved || result.stale)
        ctx.notifier().desk_changed(desk);
    return result;
}
