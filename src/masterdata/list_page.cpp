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

int page_after(PageMove move, int page, int pages)
{
    switch (move) {
    case PageMove::First:
    case PageMove::Search:
        return 1;
    case PageMove::Previous:
        return page > 1 ? page - 1 : 0;
    case PageMove::Next:
        return page < pages ? page + 1 : 0;
    case PageMove::Last:
        return list_last_page(pages);
    }
    return 0;
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

namespace {

void take_rows(TSQLiteTable t, ListPage &out)
{
    out.columns = t.m_columns;
    out.rows.reserve(t.Count());
    for (; !t.isEof(); t.Next()) {
        QStringList cells;
        cells.reserve(t.FieldCount());
        for (int c = 0; c < t.FieldCount(); ++c)
            cells << t.FieldAsString(c);
        out.rows << cells;
    }
}

// A condition no index serves reads every row anyway: one pass picks the ids of all
// matching rows in the list's order, their number is the count, and the page's
// rows are then read by id.
void read_page_by_ids(TSQLiteDatabase &db,
                      const ListQuery &query,
                      const SqlCondition &cond,
                      ListPage &out)
{
    TSQLiteTable ids = db.GetTable(QStringLiteral("SELECT ") + query.id_column
                                       + QStringLiteral(" FROM (") + query.select + QChar(' ')
                                       + cond.sql + QStringLiteral(") ") + query.order_by,
                                   cond.params);
    out.records = ids.Count();
    out.pages = list_page_count(out.records, out.page_size);
    const qint64 first = qint64(std::max(0, out.page - 1)) * out.page_size;
    SqlParams page_ids;
    QStringList marks;
    for (qint64 i = 0; !ids.isEof() && i < first + out.page_size; ids.Next(), ++i) {
        if (i >= first) {
            page_ids << ids.FieldAsString(0).toLongLong();
            marks << QStringLiteral("?");
        }
    }
    take_rows(db.GetTable(query.select + QStringLiteral(" WHERE ") + query.id_column
                              + QStringLiteral(" IN (") + marks.join(QChar(','))
                              + QStringLiteral(") ") + query.order_by,
                          page_ids),
              out);
}

} // namespace

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
    if (cond.full_scan && query.ids_from.isEmpty()) {
        read_page_by_ids(db, query, cond, out);
        return out;
    }
    out.records = int(db.scalar(query.count + QChar(' ') + cond.sql, cond.params).toLongLong());
    out.pages = list_page_count(out.records, out.page_size);

    qint64 limit = out.page_size;
    qint64 offset = std::max(0, page - 1) * limit;
    const bool backwards
        = !query.order_by_reversed.isEmpty() && offset > out.records / 2 && offset < out.records;
    if (backwards) {
        limit = std::min(limit, out.records - offset);
        offset = out.records - offset - limit;
    }
    const QString &order_by = backwards ? query.order_by_reversed : query.order_by;
    SqlParams params = cond.params;
    params << limit << offset;
    const QString picked = cond.sql + QChar(' ') + order_by + QStringLiteral(" LIMIT ? OFFSET ?");
    const QString sql = query.ids_from.isEmpty()
                            ? query.select + QChar(' ') + picked
                            : query.select + QStringLiteral(" WHERE ") + query.id_column
                                  + QStringLiteral(" IN (SELECT ") + query.id_column
                                  + QStringLiteral(" FROM ") + query.ids_from + QChar(' ') + picked
                                  + QStringLiteral(") ") + order_by;
    take_rows(db.GetTable(sql, params), out);
    if (backwards)
        std::reverse(out.rows.begin(), out.rows.end());
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
