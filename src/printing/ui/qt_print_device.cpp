#include "printing/ui/qt_print_device.h"

#include <QPrinter>
#include <QPrinterInfo>

#ifdef MIVO_HAVE_CUPS
#include <QLibrary>

#include <cups/cups.h>
#endif

namespace {

#ifdef MIVO_HAVE_CUPS
// The CUPS client library is loaded when a queue is first asked about, not at
// start: it brings TLS, Kerberos and service discovery with it, and the counter
// would wait for them before it shows the board.
struct CupsCalls
{
    decltype(&cupsGetNamedDest) get_named_dest = nullptr;
    decltype(&cupsGetOption) get_option = nullptr;
    decltype(&cupsFreeDests) free_dests = nullptr;

    bool usable() const { return get_named_dest && get_option && free_dests; }
};

const CupsCalls &cups_calls()
{
    static const CupsCalls calls = [] {
        CupsCalls c;
        QLibrary lib(QStringLiteral("cups"), 2);
        if (!lib.load())
            return c;
        c.get_named_dest
            = reinterpret_cast<decltype(&cupsGetNamedDest)>(lib.resolve("cupsGetNamedDest"));
        c.get_option = reinterpret_cast<decltype(&cupsGetOption)>(lib.resolve("cupsGetOption"));
        c.free_dests = reinterpret_cast<decltype(&cupsFreeDests)>(lib.resolve("cupsFreeDests"));
        return c;
    }();
    return calls;
}
#endif

// Why a CUPS queue cannot take a job now, empty when it can (or is no CUPS queue).
// Qt hands a job to a queue that rejects jobs without a word, and a stopped
// queue only collects it: the cashier has to know at once.
QString queue_refusal(const QString &name)
{
#ifdef MIVO_HAVE_CUPS
    const CupsCalls &cups = cups_calls();
    if (!cups.usable())
        return {};
    cups_dest_t *dest
        = cups.get_named_dest(CUPS_HTTP_DEFAULT, name.toLocal8Bit().constData(), nullptr);
    if (!dest)
        return {};
    const auto option = [&](const char *key) {
        return QString::fromUtf8(cups.get_option(key, dest->num_options, dest->options));
    };
    const QString accepting = option("printer-is-accepting-jobs");
    const QString state = option("printer-state");
    const QString message = option("printer-state-message");
    cups.free_dests(1, dest);
    QString reason;
    if (accepting == QLatin1String("false"))
        reason = QStringLiteral("打印队列拒绝接收打印任务");
    else if (state == QLatin1String("5"))
        reason = QStringLiteral("打印机已暂停");
    if (!reason.isEmpty() && !message.isEmpty())
        reason += QStringLiteral("（%1）").arg(message);
    return reason;
#else
    Q_UNUSED(name);
    return {};
#endif
}

} // namespace

QtPrintDevice::QtPrintDevice()
    : m_font(print_font())
{}

QtPrintDevice::~QtPrintDevice()
{
    if (m_painter.isActive())
        m_painter.end();
}

QFont QtPrintDevice::print_font()
{
    QFont f;
    // Droid Sans Fallback first: every character printed with it stays text through
    // CUPS's PostScript conversion (a PDF queue's file can be searched), which
    // WenQuanYi Zen Hei's digits did not; WenQuanYi serves where Droid is missing.
    f.setFamilies({QStringLiteral("Droid Sans Fallback"), QStringLiteral("WenQuanYi Zen Hei")});
    // 9 pt stays under the default pitch of 0.45 cm and keeps a dish name of
    // about nine characters inside the first 3.1 cm column.
    f.setPointSizeF(9);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

QStringList QtPrintDevice::printers()
{
    if (!m_output_file.isEmpty())
        return {FilePrinterName};
    return QPrinterInfo::availablePrinterNames();
}

bool QtPrintDevice::select(const QString &name)
{
    m_error.clear();
    m_printer.reset();
    if (!m_output_file.isEmpty()) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setOutputFileName(m_output_file);
        return true;
    }
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    if (info.isNull()) {
        m_error = QStringLiteral("打印系统中没有这台打印机");
        return false;
    }
    m_error = queue_refusal(name);
    if (m_error.isEmpty() && info.state() == QPrinter::Error)
        m_error = QStringLiteral("打印机已停止或出错");
    if (!m_error.isEmpty()) {
        m_error += QStringLiteral("，请检查打印机后重新打印");
        return false;
    }
    m_printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    return true;
}

int QtPrintDevice::dpi_x()
{
    return m_printer ? m_printer->logicalDpiX() : 0;
}

int QtPrintDevice::dpi_y()
{
    return m_printer ? m_printer->logicalDpiY() : 0;
}

int QtPrintDevice::page_height()
{
    if (!m_printer)
        return 0;
    // Receipt rolls are 58 or 80 mm wide, whatever paper length their queue names;
    // anything wider is a sheet printer (A4, Letter, a PDF queue).
    const QPageLayout layout = m_printer->pageLayout();
    if (layout.fullRect(QPageLayout::Millimeter).width() < RollWidthMm)
        return 0;
    return layout.paintRectPixels(m_printer->resolution()).height();
}

bool QtPrintDevice::begin(const QString &job_title)
{
    m_error.clear();
    if (!m_printer) {
        m_error = QStringLiteral("没有选择打印机");
        return false;
    }
    m_printer->setDocName(job_title);
    if (!m_painter.begin(m_printer.get())) {
        m_error = QStringLiteral("打印任务无法开始");
        return false;
    }
    m_font = print_font();
    m_painter.setFont(m_font);
    m_painter.setPen(Qt::black);
    return true;
}

bool QtPrintDevice::new_page()
{
    if (!m_printer->newPage()) {
        m_error = QStringLiteral("无法换页");
        return false;
    }
    return true;
}

void QtPrintDevice::set_style(Style style)
{
    m_font.setBold(style == Style::Bold);
    m_font.setStrikeOut(style == Style::StrikeOut);
    m_painter.setFont(m_font);
}

void QtPrintDevice::draw_text(int x, int y, const QString &text)
{
    // Qt places text by its baseline; the document gives the top-left corner.
    m_painter.drawText(x, y + m_painter.fontMetrics().ascent(), text);
}

int QtPrintDevice::text_width(const QString &text)
{
    return m_painter.isActive() ? m_painter.fontMetrics().horizontalAdvance(text) : 0;
}

bool QtPrintDevice::end()
{
    const bool ended = !m_painter.isActive() || m_painter.end();
    const QPrinter::PrinterState state = m_printer ? m_printer->printerState() : QPrinter::Error;
    if (!ended || state == QPrinter::Error || state == QPrinter::Aborted) {
        m_error = QStringLiteral("打印系统没有接受这份打印任务");
        return false;
    }
    return true;
}
