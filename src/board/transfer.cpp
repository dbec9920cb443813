#include "board/transfer.h"

#include "app/notifier.h"
#include "board/desk_state.h"
#include "staff/sign_in.h"
#include "store/sqlite_db.h"

namespace {

const QString RowQuery = QStringLiteral(
    "SELECT id,title,stat,price,fwy,yj,nums,ydtruename,addtime FROM lumo_desk where id=?");

// A stored value as it was, NULL included, so the copy carries it unchanged.
QVariant stored(const TSQLiteTable &t, const char *column)
{
    const int i = t.FieldIndex(QLatin1String(column));
    return t.FieldIsNull(i) ? QVariant() : QVariant(t.FieldAsString(i));
}

} // namespace

QVector<TransferChoice> transfer_choices(const AppContext &ctx)
{
    TSQLiteDatabase db(ctx.db_path);
    TSQLiteTable t
        = db.GetTable(QStringLiteral("SELECT id,bh,title,stat FROM lumo_desk order by sort ASC"));
    QVector<TransferChoice> out;
    for (; !t.isEof(); t.Next())
        out.append(
            {t.FieldAsString(0), t.FieldAsString(1), t.FieldAsString(2), t.FieldAsString(3)});
    return out;
}

TransferResult transfer_desk(AppContext &ctx, const QString &source, const QString &target_id)
{
    TransferResult r;
    r.outcome = TransferResult::Refused;
    if (!signed_in(ctx)) {
        r.message = SignInFirstText;
        return r;
    }
    if (source.isEmpty()) {
        r.message = QStringLiteral("还未选择桌号操作");
        return r;
    }
    if (target_id.isEmpty()) {
        r.message = QStringLiteral("请选择一个空闲桌号");
        return r;
    }
    if (target_id == source) {
        r.message = QStringLiteral("当前桌号与目标桌号相同");
        return r;
    }
    if (!ctx.prompts().confirm(QStringLiteral("确认要转到所选餐桌吗"))) {
        r.outcome = TransferResult::Cancelled;
        return r;
    }

    TSQLiteDatabase db(ctx.db_path);
    // Both tables and the order move together: a half transfer would leave the
    // guests on no table or on two.
    db.transaction([&] {
        const TSQLiteTable target = db.GetTable(RowQuery, {target_id});
        const TSQLiteTable from = db.GetTable(RowQuery, {source});
        if (target.Count() == 0 || from.Count() == 0) {
            r.message = QStringLiteral("目标桌号不存在，可能已删除");
            return;
        }
        // The confirmation may have stayed up while another counter settled the table:
        // moving a freed table would open the target with nobody and no bill on it.
        if (desk_stat_code(from.value(QStringLiteral("stat"))) == QLatin1String("0")) {
            r.message = TransferFreedText;
            return;
        }
        // The list is a snapshot; another counter may have taken the target since.
        if (desk_stat_code(target.value(QStringLiteral("stat"))) != QLatin1String("0")) {
            r.outcome = TransferResult::Blocked;
            r.message = QStringLiteral("目标桌状态不能转台，请先确认目标桌是否空闲状态");
            return;
        }
        db.ExecSQL(QStringLiteral("UPDATE lumo_desk SET stat=1,yj=?,price=?,nums=?,fwy=?,"
                                  "ydtruename=?,addtime=? where id=?"),
                   {stored(from, "yj"),
                    stored(from, "price"),
                    stored(from, "nums"),
                    stored(from, "fwy"),
                    stored(from, "ydtruename"),
                    stored(from, "addtime"),
                    target_id});
        db.ExecSQL(QStringLiteral("UPDATE lumo_desk SET stat=0,yj=0,price='0.00',nums=0,fwy='',"
                                  "ydtruename='',addtime=0 where id=?"),
                   {source});
        // A target cleared without lines kept the empty open order of its last opening;
        // it changes places with the moved bill, so the bill stays the target's only open
        // order and the table left keeps the empty one for its next party.
        const TSQLiteTable leftover = db.GetTable(
            QStringLiteral("SELECT id FROM lumo_orders where deskid=? AND iscal=0"), {target_id});
        db.ExecSQL(QStringLiteral("UPDATE lumo_orders SET deskid=? where deskid=? AND iscal=0"),
                   {target_id, source});
        for (TSQLiteTable t = leftover; !t.isEof(); t.Next())
            db.ExecSQL(QStringLiteral("UPDATE lumo_orders SET deskid=? where id=?"),
                       {source, t.FieldAsString(0)});
        r.outcome = TransferResult::Done;
        r.message = QStringLiteral("转台成功");
    });
    // Also when refused for what another counter did: every screen catches up with it.
    ChangeNotifier &n = ctx.notifier();
    if (r.outcome == TransferResult::Done) {
        n.desk_transferred(source, target_id);
        n.desk_changed(source);
        n.desk_changed(target_id);
    } else if (r.outcome == TransferResult::Blocked) {
        n.desk_changed(target_id);
    } else if (r.message == TransferFreedText) {
        n.desk_changed(source);
    }
    return r;
}
