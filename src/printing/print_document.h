#pragma once

#include <QString>
#include <QVector>

class PrintDevice;
class Prompts;

// A print document: rows of cells, top to bottom, each cell a text placed at a
// distance from the left edge of the printable area (cm) in one of three styles.
struct PrintCell
{
    QString x; // centimetres as written, "3.1"
    QString title;
    bool bold = false;
    bool del = false; // struck out
};
using PrintRow = QVector<PrintCell>;

// The JSON text of the rows: no white space, each cell as
// {"x":"..","title":"..","isbold":"0|1","isdel":"0|1"}, texts escaped as JSON strings.
QString compose_print_document(const QVector<PrintRow> &rows);

// A cell as the renderer reads it.
struct ParsedCell
{
    double x = 0.0;
    QString title;
    bool bold = false;
    bool del = false;
};
using ParsedRow = QVector<ParsedCell>;

// Reads a document back. x, isbold and isdel may be numbers or texts; a text that
// is not a number counts as 0. False (rows untouched) when the text is not an
// array of arrays of objects.
bool parse_print_document(const QString &json, QVector<ParsedRow> &rows);

inline const QString NoPrinterText = QStringLiteral("没有找到打印机，请在系统设置中设置好打印机");
inline const QString BadDocumentText = QStringLiteral("打印内容格式错误，没有打印");

enum class PrintOutcome {
    Printed,
    NoPrinter,   // no installed printer has the name in it
    BadDocument, // the document is not a print document
    DeviceError, // the print system refused or failed the job
    BadLayout,   // the column positions of the settings do not fit the document
    NoLines      // the order has no lines to print
};

// The text of a cell drawn at x as much of it as ends before next_x (the next cell of
// the row, device units), as the device measures it; whole when the device cannot tell.
QString fit_column(PrintDevice &device, const QString &text, int x, int next_x);

// Rows that fit on a sheet page_height device units high, each one line_pitch below
// the last from top_margin (cm); at least 1. No limit for a roll (page_height 0).
int rows_on_page(int page_height, int dpi, double line_pitch, double top_margin);

// Draws the document as one job on the first installed printer whose name contains
// printer_name (case-sensitive); rows_per_page below 1 means 17, and no more rows go
// on a page than fit on the printer's sheet; lengths in cm.
// Every failure is shown through prompts; nothing else is visible.
PrintOutcome print_document(Prompts &prompts,
                            PrintDevice *device,
                            const QString &printer_name,
                            const QString &json,
                            int rows_per_page,
                            double line_pitch,
                            double top_margin);

// Device units of a length in cm at a resolution, truncated toward zero.
int device_units(int dpi, double cm);
