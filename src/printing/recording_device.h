#pragma once

#include "printing/print_device.h"

#include <QVector>

// A printer that prints nothing and remembers every call, with the device
// coordinates it was given. Failures can be switched on to try the error paths.
class RecordingPrintDevice : public PrintDevice
{
public:
    struct Text
    {
        int page = 0; // from 1
        int x = 0;
        int y = 0;
        Style style = Style::Regular;
        QString text;
    };

    QStringList printers() override;
    bool select(const QString &name) override;
    int dpi_x() override { return dpi_horizontal; }
    int dpi_y() override { return dpi_vertical; }
    int page_height() override { return page_height_units; }
    bool begin(const QString &job_title) override;
    bool new_page() override;
    void set_style(Style style) override;
    void draw_text(int x, int y, const QString &text) override;
    // char_width units for every character; 0 (the default) measures nothing.
    int text_width(const QString &text) override { return int(text.size()) * char_width; }
    bool end() override;
    QString error() const override { return failure; }

    // What the platform would offer.
    QStringList installed;
    int dpi_horizontal = 203;
    int dpi_vertical = 203;
    int page_height_units = 0; // a roll; set it to stand for sheets of paper
    int char_width = 0;
    // A non-empty reason makes that step fail.
    QString fail_select;
    QString fail_begin;
    QString fail_end;

    // Every call in order: "printers", "select NAME", "begin TITLE", "page",
    // "bold" / "strike" / "regular", "text X Y TEXT", "end".
    QStringList calls;
    // The texts drawn, with their page and style.
    QVector<Text> texts;
    QString selected;
    int jobs = 0;  // jobs begun
    int pages = 0; // pages of the last job

    // The texts of one page, one "X Y TEXT" each.
    QStringList page_texts(int page) const;

private:
    QString failure;
    Style m_style = Style::Regular;
};
