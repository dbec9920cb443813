#include "printing/print_document.h"

#include "app/context.h"
#include "printing/print_device.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// A JSON string body: quote, backslash and control characters escaped, the rest as is.
void append_json_text(QString &out, const QString &text)
{
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"':
            out += QLatin1String("\\\"");
            break;
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '\b':
            out += QLatin1String("\\b");
            break;
        case '\f':
            out += QLatin1String("\\f");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
}

double member_number(const QJsonValue &v)
{
    if (v.isDouble())
        return v.toDouble();
    if (v.isString()) {
        bool ok = false;
        const double d = v.toString().toDouble(&ok);
        return ok && std::isfinite(d) ? d : 0.0;
    }
    return 0.0;
}

} // namespace

QString compose_print_document(const QVector<PrintRow> &rows)
{
    QString out;
    out.reserve(rows.size() * 160);
    out += QLatin1Char('[');
    for (qsizetype r = 0; r < rows.size(); ++r) {
        if (r > 0)
            out += QLatin1Char(',');
        out += QLatin1Char('[');
        const PrintRow &row = rows[r];
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (c > 0)
                out += QLatin1Char(',');
            out += QLatin1String("{\"x\":\"");
            // Positions come from the settings file; escaped too, so no text breaks the document.
            append_json_text(out, row[c].x);
            out += QLatin1String("\",\"title\":\"");
            append_json_text(out, row[c].title);
            out += QLatin1String("\",\"isbold\":\"");
            out += row[c].bold ? QLatin1Char('1') : QLatin1Char('0');
            out += QLatin1String("\",\"isdel\":\"");
            out += row[c].del ? QLatin1Char('1') : QLatin1Char('0');
            out += QLatin1String("\"}");
        }
        out += QLatin1Char(']');
    }
    out += QLatin1Char(']');
    return out;
}

bool parse_print_document(const QString &json, QVector<ParsedRow> &rows)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray())
        return false;
    QVector<ParsedRow> parsed;
    const QJsonArray array = doc.array();
    parsed.reserve(array.size());
    for (const QJsonValue &rowValue : array) {
        if (!rowValue.isArray())
            return false;
        ParsedRow row;
        for (const QJsonValue &cellValue : rowValue.toArray()) {
            if (!cellValue.isObject())
                return false;
            const QJsonObject o = cellValue.toObject();
            ParsedCell cell;
            cell.x = member_number(o.value(QLatin1String("x")));
            cell.title = o.value(QLatin1String("title")).toString();
            cell.bold = member_number(o.value(QLatin1String("isbold"))) == 1.0;
            cell.del = member_number(o.value(QLatin1String("isdel"))) == 1.0;
            row.append(cell);
        }
        parsed.append(row);
    }
    rows = parsed;
    return true;
}

int device_units(int dpi, double cm)
{
    const double v = std::trunc(double(dpi) * cm / 2.54);
    if (std::isnan(v))
        return 0;
    // A position far off the paper still has to stay a valid coordinate.
    return int(std::clamp(
        v, double(std::numeric_limits<int>::min()), double(std::numeric_limits<int>::max())));
}

namespace {

// Where the next cell of the row to the right of x begins; INT_MAX for none.
int next_column(const QVector<ParsedCell> &row, int dpi, int x)
{
    int next = std::numeric_limits<int>::max();
    for (const ParsedCell &c : row) {
        const int cx = device_units(dpi, c.x);
        if (cx > x)
            next = std::min(next, cx);
    }
    return next;
}

} // namespace

QString fit_column(PrintDevice &device, const QString &text, int x, int next_x)
{
    // A cell never runs into the next column ("已下单少油"): it is cut where it would.
    if (next_x == std::numeric_limits<int>::max() || device.text_width(text) == 0)
        return text;
    const qint64 room = qint64(next_x) - x;
    QString fitted = text;
    while (!fitted.isEmpty() && device.text_width(fitted) >= room)
        fitted.chop(1);
    return fitted;
}

int rows_on_page(int page_height, int dpi, double line_pitch, double top_margin)
{
    if (page_height <= 0 || dpi <= 0 || !(line_pitch > 0))
        return std::numeric_limits<int>::max();
    const double cm = double(page_height) * 2.54 / double(dpi);
    const double rows = std::floor((cm - top_margin) / line_pitch);
    return rows < 1 ? 1 : rows > 1e6 ? std::numeric_limits<int>::max() : int(rows);
}

PrintOutcome print_document(Prompts &prompts,
                            PrintDevice *device,
                            const QString &printer_name,
                            const QString &json,
                            int rows_per_page,
                            double line_pitch,
                            double top_margin)
{
    QString chosen;
    if (device && !printer_name.isEmpty()) {
        for (const QString &name : device->printers()) {
            if (name.contains(printer_name, Qt::CaseSensitive)) {
                chosen = name;
                break;
            }
        }
    }
    if (chosen.isEmpty()) {
        prompts.warning(NoPrinterText);
        return PrintOutcome::NoPrinter;
    }
    const auto failed = [&] {
        prompts.warning(QStringLiteral("打印机“%1”无法打印：%2").arg(chosen, device->error()));
        return PrintOutcome::DeviceError;
    };
    if (!device->select(chosen))
        return failed();
    const int dpi_x = device->dpi_x();
    const int dpi_y = device->dpi_y();

    QVector<ParsedRow> rows;
    if (!parse_print_document(json, rows)) {
        prompts.warning(BadDocumentText);
        return PrintOutcome::BadDocument;
    }
    const qsizetype n = rows.size();
    const qsizetype per_page
        = std::min<qsizetype>(rows_per_page < 1 ? 17 : rows_per_page,
                              rows_on_page(device->page_height(), dpi_y, line_pitch, top_margin));
    const qsizetype pages = (n + per_page - 1) / per_page;

    if (!device->begin(QStringLiteral("Mivo")))
        return failed();
    qsizetype k = 0;
    for (qsizetype r = 0; r < n; ++r) {
        const int y = device_units(dpi_y, top_margin + line_pitch * double(k));
        for (const ParsedCell &cell : rows[r]) {
            // Bold wins over strike-out.
            device->set_style(cell.bold  ? PrintDevice::Style::Bold
                              : cell.del ? PrintDevice::Style::StrikeOut
                                         : PrintDevice::Style::Regular);
            const int x = device_units(dpi_x, cell.x);
            device->draw_text(
                x, y, fit_column(*device, cell.title, x, next_column(rows[r], dpi_x, x)));
        }
        if ((r + 1) % per_page == 0 && r + 1 < per_page * pages) {
            if (!device->new_page()) {
                device->end();
                return failed();
            }
            k = 0;
        } else {
            ++k;
        }
    }
    if (!device->end())
        return failed();
    return PrintOutcome::Printed;
}
