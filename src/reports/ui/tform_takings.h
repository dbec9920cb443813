#pragma once

#include "app/ui/mivo_dialog.h"
#include "reports/takings.h"

#include <functional>

class QDateTimeEdit;
class QLabel;
class QTableWidget;

// "营业统计": the takings of a day, week, month or a shift typed by hand, shown,
// printed on the receipt printer and exported as CSV.
class TForm_takings : public MivoDialog
{
    Q_OBJECT
public:
    TForm_takings(Forms &forms, QWidget *parent);

    // Where the CSV goes; the file dialog unless replaced (tests give a path).
    void set_export_path_source(std::function<QString()> source);

    const TakingsReport &report() const { return m_report; }

    // Shows the report of one of the named periods around the clock's now.
    void show_named(PeriodKind kind);
    // Shows the report of the range in the two time fields.
    void show_range();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void show_period(const Period &period);
    void fill();
    void print_report();
    void export_csv();

    QDateTimeEdit *m_from = nullptr;
    QDateTimeEdit *m_to = nullptr;
    QLabel *m_period = nullptr;
    QTableWidget *m_figures = nullptr;
    QTableWidget *m_dishes = nullptr;
    QTableWidget *m_categories = nullptr;
    TakingsReport m_report;
    bool m_shown = false;
    std::function<QString()> m_export_path;
};
