#pragma once

#include "printing/print_device.h"

#include <QFont>
#include <QPainter>

#include <memory>

class QPrinter;

// The platform's printers through Qt's print support (CUPS on Linux). Every text
// is drawn in one CJK-capable face, small enough for 58 mm and 80 mm rolls.
class QtPrintDevice : public PrintDevice
{
public:
    QtPrintDevice();
    ~QtPrintDevice() override;

    QStringList printers() override;
    bool select(const QString &name) override;
    int dpi_x() override;
    int dpi_y() override;
    int page_height() override;
    bool begin(const QString &job_title) override;
    bool new_page() override;
    void set_style(Style style) override;
    void draw_text(int x, int y, const QString &text) override;
    int text_width(const QString &text) override;
    bool end() override;
    QString error() const override { return m_error; }

    // Instead of the platform's printers, offer the one printer FilePrinterName that
    // writes each job as PDF to this file (trying the layout without a print system).
    void set_output_file(const QString &pdf) { m_output_file = pdf; }

    static QFont print_font();
    static inline const QString FilePrinterName = QStringLiteral("PDF文件");
    // Paper narrower than this is a receipt roll.
    static constexpr double RollWidthMm = 100;

private:
    std::unique_ptr<QPrinter> m_printer;
    QPainter m_painter;
    QFont m_font;
    QString m_output_file;
    QString m_error;
};
