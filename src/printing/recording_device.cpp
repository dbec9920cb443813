#include "printing/recording_device.h"

QStringList RecordingPrintDevice::printers()
{
    calls << QStringLiteral("printers");
    return installed;
}

bool RecordingPrintDevice::select(const QString &name)
{
    calls << QStringLiteral("select ") + name;
    selected = name;
    failure = fail_select;
    return failure.isEmpty();
}

bool RecordingPrintDevice::begin(const QString &job_title)
{
    calls << QStringLiteral("begin ") + job_title;
    failure = fail_begin;
    if (!failure.isEmpty())
        return false;
    ++jobs;
    pages = 1;
    m_style = Style::Regular;
    return true;
}

bool RecordingPrintDevice::new_page()
{
    calls << QStringLiteral("page");
    ++pages;
    return true;
}

void RecordingPrintDevice::set_style(Style style)
{
    m_style = style;
    calls << (style == Style::Bold        ? QStringLiteral("bold")
              : style == Style::StrikeOut ? QStringLiteral("strike")
                                          : QStringLiteral("regular"));
}

void RecordingPrintDevice::draw_text(int x, int y, const QString &text)
{
    calls << QStringLiteral("text %1 %2 %3").arg(x).arg(y).arg(text);
    texts.append({pages, x, y, m_style, text});
}

bool RecordingPrintDevice::end()
{
    calls << QStringLiteral("end");
    failure = fail_end;
    return failure.isEmpty();
}

QStringList RecordingPrintDevice::page_texts(int page) const
{
    QStringList out;
    for (const Text &t : texts)
        if (t.page == page)
            out << QStringLiteral("%1 %2 %3").arg(t.x).arg(t.y).arg(t.text);
    return out;
}
