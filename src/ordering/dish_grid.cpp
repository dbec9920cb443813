#include "ordering/dish_grid.h"

#include "app/helpers.h"

#include <algorithm>

namespace {
const QString Separator = QStringLiteral("@@@");
}

QString TileRecord::encode() const
{
    return QStringList{
        id, selected, quantity, cid, stock, zfid, zfidstr, title, price, titleen, remark}
        .join(Separator);
}

TileRecord TileRecord::decode(const QString &text)
{
    QStringList parts = text.split(Separator, Qt::KeepEmptyParts);
    if (parts.size() > FieldCount) {
        const QStringList tail = parts.mid(FieldCount - 1);
        parts = parts.mid(0, FieldCount - 1);
        parts << tail.join(Separator);
    }
    while (parts.size() < FieldCount)
        parts << QString();
    TileRecord r;
    r.id = parts[0];
    r.selected = parts[1];
    r.quantity = parts[2];
    r.cid = parts[3];
    r.stock = parts[4];
    r.zfid = parts[5];
    r.zfidstr = parts[6];
    r.title = parts[7];
    r.price = parts[8];
    r.titleen = parts[9];
    r.remark = parts[10];
    return r;
}

void TileRecord::resetChoices()
{
    selected = QStringLiteral("0");
    quantity = QStringLiteral("1");
    zfid.clear();
    zfidstr.clear();
    remark.clear();
}

bool keyword_searches_code(const QString &keyword)
{
    return !keyword.isEmpty() && is_letters(keyword);
}

bool tile_matches(const QString &title,
                  const QString &titleen,
                  const QString &cid,
                  const QString &keyword,
                  const QString &category)
{
    if (!category.isEmpty() && category != QLatin1String("0") && cid != category)
        return false;
    if (keyword.isEmpty())
        return true;
    const QString &text = keyword_searches_code(keyword) ? titleen : title;
    return text.contains(keyword, Qt::CaseSensitive);
}

int grid_columns(int area_width)
{
    // Whole tiles only: the last one's right edge stays inside the area.
    const int c
        = (area_width - dish_grid::Left - dish_grid::TileWidth) / dish_grid::ColumnPitch + 1;
    if (area_width < dish_grid::Left + dish_grid::TileWidth)
        return 1;
    return c < 1 ? 1 : c;
}

int grid_rows(int area_height)
{
    using namespace dish_grid;
    const int r = (area_height - Top - TileHeight) / RowPitch + 1;
    return area_height - Top - TileHeight < 0 || r < 1 ? 1 : r;
}

int grid_page_size(int setting, int columns, int rows)
{
    const int fit = std::max(1, columns) * std::max(1, rows);
    return std::clamp(setting, 1, fit);
}

int grid_page_count(int matches, int per_page)
{
    if (per_page < 1)
        per_page = 1;
    if (matches <= 0)
        return 0;
    return (matches + per_page - 1) / per_page;
}

PageSpan grid_page_span(int matches, int page, int per_page)
{
    if (per_page < 1)
        per_page = 1;
    PageSpan s;
    const qint64 first = qint64(page - 1) * per_page;
    const qint64 last = qint64(page) * per_page;
    s.first = int(std::clamp<qint64>(first, 0, matches));
    s.last = int(std::clamp<qint64>(last, s.first, matches));
    return s;
}

QPoint grid_tile_position(int k, int columns)
{
    if (columns < 1)
        columns = 1;
    const int row = k / columns;
    const int col = k % columns;
    return QPoint(dish_grid::Left + dish_grid::ColumnPitch * col,
                  dish_grid::Top + dish_grid::RowPitch * row);
}

bool method_chosen(const QString &zfid, const QString &method_id)
{
    const QString wrapped = QLatin1Char(',') + zfid + QLatin1Char(',');
    return wrapped.contains(QLatin1Char(',') + method_id + QLatin1Char(','));
}

ChosenMethods chosen_methods(const QVector<MethodChoice> &methods)
{
    QStringList ids;
    QStringList titles;
    for (const MethodChoice &m : methods) {
        if (!m.checked)
            continue;
        ids << m.id.trimmed();
        titles << m.title.trimmed();
    }
    return {ids.join(QLatin1Char(',')), titles.join(QLatin1Char(','))};
}

QString clean_tile_quantity(const QString &text)
{
    const QString t = text.trimmed();
    const qint64 v = is_int_text(t) ? int_value(t) : 0;
    return v >= 1 ? QString::number(v) : QStringLiteral("1");
}
