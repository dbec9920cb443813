#pragma once

#include <QString>
#include <QStringList>

// What the renderer needs from a printer. The program uses the platform's print
// system; tests and benchmarks use a device that records every call.
class PrintDevice
{
public:
    enum class Style { Regular, Bold, StrikeOut };

    virtual ~PrintDevice() = default;

    // Installed printers by name, in the platform's order.
    virtual QStringList printers() = 0;
    // Makes the printer current; false (with error()) when it cannot take a job now.
    virtual bool select(const QString &name) = 0;
    // Resolution of the current printer in dots per inch.
    virtual int dpi_x() = 0;
    virtual int dpi_y() = 0;
    // Printable height of the current printer's paper in device units; 0 for a roll,
    // which has no page end.
    virtual int page_height() = 0;
    // Starts the job with its first page; false (with error()) when the job cannot start.
    virtual bool begin(const QString &job_title) = 0;
    virtual bool new_page() = 0;
    virtual void set_style(Style style) = 0;
    // Draws the text with its top-left corner at (x, y) in device units.
    virtual void draw_text(int x, int y, const QString &text) = 0;
    // The width the text takes in the current style, in device units; 0 when the device
    // cannot tell (nothing is then cut to its column).
    virtual int text_width(const QString &text)
    {
        Q_UNUSED(text);
        return 0;
    }
    // Finishes the job; false (with error()) when the print system did not take it.
    virtual bool end() = 0;
    // Why the last call failed, as the print system said it.
    virtual QString error() const = 0;
};
