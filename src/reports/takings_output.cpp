#include "reports/takings_output.h"

#include "app/ini.h"

#include "app/helpers.h"
#include "printing/order_prints.h"

#include <QSaveFile>

namespace {

QString count_text(qint64 n)
{
    return QString::number(n);
}

// A text cell of the CSV, quoted where needed; a leading formula sign is defused
// so that a dish called "=1+1" stays text in a spreadsheet.
QString csv_text(QString text)
{
    if (!text.isEmpty() && QStringLiteral("=+-@").contains(text.front()))
        text.prepend(QChar('\''));
    if (text.contains(QChar(',')) || text.contains(QChar('"')) || text.contains(QChar('\n'))
        || text.contains(QChar('\r')))
        return QChar('"') + text.replace(QChar('"'), QStringLiteral("\"\"")) + QChar('"');
    return text;
}

} // namespace

QVector<FigureRow> figure_rows(const TakingsReport &r)
{
    QVector<FigureRow> rows;
    QString unit;
    const auto money = [&](const QString &label, double v, const QString &count = QString()) {
        rows.append({label, count, count.isEmpty() ? QString() : unit, format_money(v), false});
    };
    const auto heading = [&](const QString &label, const QString &count = QString()) {
        rows.append({label, count, QString(), QString(), true});
    };
    heading(QStringLiteral("营业概况"));
    rows.append({QStringLiteral("订单数"), QString(), QString(), count_text(r.orders), false});
    rows.append({QStringLiteral("用餐人数"), QString(), QString(), count_text(r.guests), false});
    money(QStringLiteral("单均消费"), r.per_order);
    money(QStringLiteral("人均消费"), r.per_guest);

    heading(QStringLiteral("收款方式"), QStringLiteral("笔数"));
    unit = QStringLiteral("笔");
    for (const PayTakings &t : r.takings)
        money(t.name, t.amount, count_text(t.count));
    money(QStringLiteral("会员余额"), r.balance, count_text(r.balance_orders));
    money(QStringLiteral("实收合计"), r.total, count_text(r.orders));

    heading(QStringLiteral("优惠与退菜"));
    money(QStringLiteral("折前金额"), r.allprice);
    money(QStringLiteral("折扣减免"), r.discounts);
    money(QStringLiteral("加收金额"), r.surcharges);
    unit = QStringLiteral("项");
    money(QStringLiteral("退菜"), r.returned_value, count_text(r.returned_lines));

    heading(QStringLiteral("会员充值"), QStringLiteral("笔数"));
    unit = QStringLiteral("笔");
    qint64 recharges = 0;
    for (const PayTakings &t : r.recharges) {
        money(t.name, t.amount, count_text(t.count));
        recharges += t.count;
    }
    money(QStringLiteral("充值合计"), r.recharge_total, count_text(recharges));

    heading(QStringLiteral("未结账桌台"), QStringLiteral("人数"));
    unit = QStringLiteral("人");
    qint64 eating = 0;
    for (const OpenTable &t : r.open_tables) {
        money(t.title.isEmpty() ? t.bh : t.title, t.amount, count_text(t.guests));
        eating += t.guests;
    }
    money(QStringLiteral("在台合计"), r.open_total, count_text(eating));
    return rows;
}

ComposedPrint compose_takings_print(const TakingsReport &r,
                                    const QString &shopname,
                                    const QString &receipt_positions,
                                    const QString &printed_at)
{
    ComposedPrint c;
    const QStringList x = receipt_positions.trimmed().split(QLatin1Char(','));
    if (x.size() != 3) {
        c.outcome = PrintOutcome::BadLayout;
        c.message = ReceiptLayoutText;
        return c;
    }
    const auto row = [&](const QString &a, const QString &b, const QString &amount, bool bold) {
        PrintRow cells{{x[0], a, bold, false}};
        if (!b.isEmpty())
            cells.append({x[1], b, bold, false});
        if (!amount.isEmpty())
            cells.append({x[2], amount, bold, false});
        c.rows.append(cells);
    };
    row(shopname.isEmpty() ? QStringLiteral("匿名店铺") : shopname, QString(), QString(), true);
    row(QStringLiteral("营业统计"), QString(), QString(), true);
    // The two ends on lines of their own: together they are wider than the paper.
    row(QStringLiteral("起：") + second_text(r.period.from), QString(), QString(), false);
    row(QStringLiteral("止：") + second_text(r.period.to - 1), QString(), QString(), false);
    // Counts go with their label: three digits would run into the amounts.
    for (const FigureRow &f : figure_rows(r)) {
        const QString count
            = f.heading || f.count.isEmpty() ? QString() : QChar(' ') + f.count + f.unit;
        row(f.label + count, QString(), f.value, f.heading);
    }

    row(QStringLiteral("菜品销售"), QStringLiteral("份"), QStringLiteral("金额"), true);
    for (const DishSales &d : r.dishes)
        row(d.title, count_text(d.quantity), format_money(d.amount), false);
    row(QStringLiteral("分类销售"), QString(), QStringLiteral("金额"), true);
    for (const CategorySales &k : r.categories)
        row(k.title + QChar(' ') + count_text(k.quantity) + QStringLiteral("份"),
            QString(),
            format_money(k.amount),
            false);
    row(QStringLiteral("打印时间：") + printed_at, QString(), QString(), false);
    return c;
}

PrintOutcome print_takings(AppContext &ctx, const TakingsReport &r)
{
    const Settings &s = ctx.settings;
    const ComposedPrint c
        = compose_takings_print(r, s.shopname, s.kdstr, format_time(unix_now(ctx.clock())));
    return deliver_print(ctx, c, s.kdprintname, s.kdprintnums, s.kdtop, s.kdhj);
}

QByteArray takings_csv(const TakingsReport &r, const QString &shopname, const QString &made_at)
{
    QStringList lines;
    lines << QStringLiteral("营业统计");
    lines << QStringLiteral("店铺,") + csv_text(shopname);
    lines << QStringLiteral("时段,") + csv_text(period_text(r.period));
    lines << QStringLiteral("导出时间,") + csv_text(made_at);
    lines << QString();
    lines << QStringLiteral("项目,笔数,金额");
    for (const FigureRow &f : figure_rows(r))
        lines << csv_text(f.label) + QChar(',') + f.count + QChar(',') + f.value;
    lines << QString();
    lines << QStringLiteral("菜品,分类,数量,金额");
    for (const DishSales &d : r.dishes)
        lines << csv_text(d.title) + QChar(',') + csv_text(d.category) + QChar(',')
                     + count_text(d.quantity) + QChar(',') + format_money(d.amount);
    lines << QString();
    lines << QStringLiteral("分类,数量,金额");
    for (const CategorySales &k : r.categories)
        lines << csv_text(k.title) + QChar(',') + count_text(k.quantity) + QChar(',')
                     + format_money(k.amount);
    return QByteArray("\xEF\xBB\xBF") + lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
}

QString write_takings_csv(const QString &path,
                          const TakingsReport &r,
                          const QString &shopname,
                          const QString &made_at)
{
    // The shop's takings are the owner's business.
    make_private_file(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return ExportFailedText + file.errorString();
    file.write(takings_csv(r, shopname, made_at));
    if (!file.commit())
        return ExportFailedText + file.errorString();
    return {};
}
