#include "masterdata/list_page.h"

#include "app/helpers.h"

#include <algorithm>
#include <cmath>

QString list_keyword(const QString &text)
{
    // Cleaned as the names were when they were saved, so a pasted name finds itself.
    return strip_quotes(text);
}

int list_page_count(int records, int page_size)
{
    if (records <= 0)
        return 0;
    const int size = std::max(1, page_size);
    return (records + size - 1) / size;
}

int list_last_page(int pages)
{
    return std::max(1, pages);
}

int list_row_number(int page, int page_size, int position)
{
    return (page - 1) * page_size + position + 1;
}

PageBarState page_bar_state(int p, int n, int r)
{
    PageBarState s;
    auto all = [&](BarButton first, BarButton pre, BarButton next, BarButton last) {
        s.first = first;
        s.pre = pre;
        s.next = next;
        s.last = last;
    };
    using B = BarButton;
    if ((p == 1 && n == 1) || n == 0)
        all(B::Off, B::Off, B::Off, B::Off);
    else if (p == 1 && n > 1)
        all(B::Off, B::Off, B::On, B::On);
    else if (p > 1 && p < n)
        all(B::On, B::On, B::On, B::On);
    else if (p > 1 && p == n)
        all(B::On, B::On, B::Off, B::Off);
    s.nums = QStringLiteral("共有%1条符合条件的记录").arg(r);
    s.page = QStringLiteral("当前%1页/共%2页").arg(p).arg(n);
    return s;
}

QString like_pattern(const QString &keyword)
{
    QString escaped;
    escaped.reserve(keyword.size() + 2);
    for (const QChar c : keyword) {
        if (c == QChar('\\') || c == QChar('%') || c == QChar('_'))
            escaped += QChar('\\');
        escaped += c;
    }
    return QChar('%') + escaped + QChar('%');
}

std::function<SqlCondition(const QString &)> like_condition(const QString &column)
{
    return [column](const QString &keyword) {
        if (keyword.isEmpty())
            return SqlCondition{};
        return SqlCondition{QStringLiteral("WHERE ") + column + QStringLiteral(" LIKE ?")
                                + LikeEscape,
                            {like_pattern(keyword)}};
    };
}

QString ListPage::cell(int row, const QString &column) const
{
    if (row < 0 || row >= rows.size())
        return {};
    for (int c = 0; c < columns.size(); ++c) {
        if (columns[c].compare(column, Qt::CaseInsensitive) == 0)
            return rows[row].value(c);
    }
    return {};
}

ListPage read_list_page(const AppContext &ctx,
                        const ListQuery &query,
                        const QString &keyword_text,
                        int page,
                        int page_size)
{
    ListPage out;
    out.page = page;
    out.page_size = std::max(1, page_size);
    const QString keyword = list_keyword(keyword_text);
    const SqlCondition cond = query.condition ? query.condition(keyword) : SqlCondition{};

    TSQLiteDatabase db(ctx.db_path);
    out.records = int(db.scalar(query.count + QChar(' ') + cond.sql, cond.params).toLongLong());
    out.pages = list_page_count(out.records, out.page_size);

    SqlParams params = cond.params;
    params << out.page_size << std::max(0, page - 1) * qint64(out.page_size);
    TSQLiteTable t = db.GetTable(query.select + QChar(' ') + cond.sql + QChar(' ') + query.order_by
                                     + QStringLiteral(" LIMIT ? OFFSET ?"),
                                 params);
    out.columns = t.m_columns;
    out.rows.reserve(t.Count());
    for (; !t.isEof(); t.Next()) {
        QStringList cells;
        cells.reserve(t.FieldCount());
        for (int c = 0; c < t.FieldCount(); ++c)
            cells << t.FieldAsString(c);
        out.rows << cells;
    }
    return out;
}

bool editor_goes_to_edit(const ListEditor &editor, int isedit)
{
    return isedit == 1 || !editor.editing;
}

int edit_click(ListEditor &editor, const QString &id)
{
    const int isedit = id != editor.last_click_id ? 1 : 0;
    editor.last_click_id = id;
    return isedit;
}

int edit_double_click(ListEditor &editor, const QString &id)
{
    const int isedit = id != editor.last_double_id ? 1 : 0;
    editor.last_double_id = id;
    return isedit;
}

bool number_text_ok(const QString &text, Prompts &prompts)
{
    if (!is_decimal_text(text) || !check_one_point(text, prompts))
        return false;
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

QVariant number_param(const QString &text)
{
    if (is_int_text(text))
        return int_value(text);
    return text.toDouble();
}

bool wants_default_sort(const QString &sort)
{
    return sort.isEmpty() || sort == QLatin1String("0");
}

qint64 default_sort(TSQLiteDatabase &db, const QString &table)
{
    const TSQLiteTable t
        = db.GetTable(QStringLiteral("SELECT max(sort) FROM ") + table
                      + QStringLiteral(" WHERE typeof(sort) IN('integer','real')"));
    if (t.Count() == 0 || t.FieldIsNull(0))
        return 1;
    return qint64(std::floor(t.FieldAsDouble(0))) + 1;
}

QVector<Choice> read_choices(const AppContext &ctx, const QString &table)
{
    TSQLiteDatabase db(ctx.db_path);
    TSQLiteTable t = db.GetTable(QStringLiteral("SELECT id,title FROM ") + table
                                 + QStringLiteral(" ORDER BY sort ASC"));
    QVector<Choice> out;
    for (; !t.isEof(); t.Next())
        out.append({t.FieldAsString(0), t.FieldAsString(1)});
    return out;
}
