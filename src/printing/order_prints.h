#pragma once

#include "app/context.h"
#include "printing/print_document.h"

#include <QString>
#include <QVector>

// The two papers of an order: the customer receipt ("客打") and the kitchen ticket
// ("厨打"). Printing reads the order and never changes it.

// Which lines the kitchen ticket shows, by line status.
enum class KitchenFilter {
    All,
    New,     // ordered (0)
    Served,  // served (3)
    Returned // returned (8)
};

inline const QString ReceiptLayoutText = QStringLiteral("客打打印机设置错误");
inline const QString KitchenLayoutText = QStringLiteral("厨打打印机设置错误");
inline const QString NoOrderText = QStringLiteral("未找到相关订单信息");

// A document ready to print, or the message that stops the print.
struct ComposedPrint
{
    PrintOutcome outcome = PrintOutcome::Printed; // BadLayout or NoLines when stopped
    QString message;
    QVector<PrintRow> rows;
};

// order_id "0" or empty means the table's open order.
ComposedPrint compose_receipt(const AppContext &ctx,
                              const QString &shopname,
                              const QString &desk_bh,
                              const QString &desk_id,
                              const QString &order_id);
ComposedPrint compose_kitchen_ticket(const AppContext &ctx,
                                     const QString &shopname,
                                     const QString &desk_bh,
                                     const QString &desk_id,
                                     const QString &order_id,
                                     KitchenFilter filter);

// Compose and print on the printer of their kind, with the layout of the settings.
// Every refusal and failure is shown through the context's message boxes.
PrintOutcome print_receipt(AppContext &ctx,
                           const QString &shopname,
                           const QString &desk_bh,
                           const QString &desk_id,
                           const QString &order_id);
PrintOutcome print_kitchen_ticket(AppContext &ctx,
                                  const QString &shopname,
                                  const QString &desk_bh,
                                  const QString &desk_id,
                                  const QString &order_id,
                                  KitchenFilter filter);

// Prints a composed document, or shows the message that stopped it; top and pitch
// are the layout settings' texts.
PrintOutcome deliver_print(AppContext &ctx,
                           const ComposedPrint &c,
                           const QString &printer,
                           int rows_per_page,
                           const QString &top,
                           const QString &pitch);

// A margin or pitch setting in cm; def when the text is not a number.
double layout_length(const QString &text, double def);
