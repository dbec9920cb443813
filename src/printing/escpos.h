#pragma once

#include "printing/print_document.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// ESC/POS, the command language of thermal receipt printers. Text goes out in GBK with
// the printer in Chinese mode; a line is counted in character cells (a Chinese
// character takes two), 48 of them on an 80 mm roll and 32 on a 58 mm roll, each cell
// 1.5 mm wide in the printer's standard font.
namespace escpos {

inline constexpr int Columns80 = 48;
inline constexpr int Columns58 = 32;
// One character cell of the standard font, in cm.
inline constexpr double CellCm = 0.15;

// ESC @: initialise; FS &: Chinese character mode.
QByteArray init();
// ESC d 4 then GS V 66 0: feed past the tear bar and cut.
QByteArray cut();
// ESC p 0 25 250: pulse on drawer pin 2 (50 ms on, 500 ms off).
QByteArray drawer_pulse();
// DLE EOT 1: the printer answers one status byte, bit 3 set when it is offline.
QByteArray status_query();
// Whether a DLE EOT 1 answer is a status byte at all, and whether it says online.
bool is_status_byte(char b);
bool status_online(char b);

// Cells a text takes on the paper: 2 for a character outside ASCII, 1 otherwise.
int cell_width(const QString &text);
// The text cut to at most width cells.
QString clip_cells(const QString &text, int width);
// The text as the printer reads it: GBK, "¥" as the full-width "￥" GBK has.
QByteArray gbk_text(const QString &text);

enum Style { Plain = 0, Bold = 1, Tall = 2 };

// Builds one print job: the init sequence first, lines of text, the cut at the end.
class Writer
{
public:
    explicit Writer(int columns);

    int columns() const { return m_columns; }
    // One line of text in a style (Tall: double height, for the table number).
    void line(const QString &text, int style = Plain);
    // A line with text at the left and text at the right edge.
    void split_line(const QString &left, const QString &right, int style = Plain);
    // A line of dashes across the paper.
    void rule();
    void blank();
    // The job with the cut appended.
    QByteArray finish() const;

private:
    void set_style(int style);

    int m_columns;
    QByteArray m_out;
};

// A print document (rows of cells placed in cm) as lines of character cells: a cell
// goes to the column of its position; one that would overlap its left neighbour moves
// right, one that does not fit starts a new line. Bold cells print bold; a row with a
// struck-out cell is marked "[退]" in front, since the printer has no strike-out.
// big_rows: the number of leading rows printed bold and double height (the header).
QByteArray render_document(const QVector<PrintRow> &rows, int columns, int big_rows = 1);

} // namespace escpos
