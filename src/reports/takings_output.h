#pragma once

#include "app/context.h"
#include "printing/order_prints.h"
#include "reports/takings.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// The takings report as the window lists it, as the receipt printer prints it and
// as a CSV file: the same rows in the same order everywhere.

struct FigureRow
{
    QString label;
    QString count; // orders, lines or guests where it matters, else empty
    QString unit;  // of the count on paper: "笔", "项", "人"
    QString value; // empty on a heading
    bool heading = false;
};

// The figures top to bottom: orders and guests, takings by pay type with the
// balance and the total, amounts before and after discounts, returns, recharges,
// open tables.
QVector<FigureRow> figure_rows(const TakingsReport &r);

// The report on the receipt printer's paper: labels (with their counts) at the first
// receipt column, amounts at the third; dishes as on a receipt, quantity at the second. Stops with
// the receipt's layout message when the positions are not three.
ComposedPrint compose_takings_print(const TakingsReport &r,
                                    const QString &shopname,
                                    const QString &receipt_positions,
                                    const QString &printed_at);
// Composes and prints on the receipt printer with its layout settings.
PrintOutcome print_takings(AppContext &ctx, const TakingsReport &r);

// The figures and the dishes sold, UTF-8 with a byte-order mark so that a
// spreadsheet reads the Chinese as such; CRLF line ends.
QByteArray takings_csv(const TakingsReport &r, const QString &shopname, const QString &made_at);
// Writes the file whole or not at all; an empty text on success, else the message.
QString write_takings_csv(const QString &path,
                          const TakingsReport &r,
                          const QString &shopname,
                          const QString &made_at);

inline const QString ExportFailedText = QStringLiteral("导出失败：");
