#include "reports/ui/tform_takings.h"

#include "app/helpers.h"
#include "app/ui/box_prompts.h"
#include "reports/takings_output.h"

#include <QDateTimeEdit>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QTableWidget *make_table(QWidget *parent, const QString &name, const QStringList &titles)
{
    auto *t = new QTableWidget(0, int(titles.size()), parent);
    t->setObjectName(name);
    t->setHorizontalHeaderLabels(titles);
    t->verticalHeader()->hide();
    t->verticalHeader()->setDefaultSectionSize(24);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int c = 1; c < titles.size(); ++c)
        t->horizontalHeader()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    return t;
}

void set_cells(QTableWidget *t, int row, const QStringList &texts, bool heading = false)
{
    for (int c = 0; c < texts.size(); ++c) {
        auto *item = new QTableWidgetItem(texts[c]);
        if (c > 0)
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (heading) {
            QFont f = item->font();
            f.setBold(true);
            item->setFont(f);
            item->setBackground(QColor(238, 242, 247));
        }
        t->setItem(row, c, item);
    }
}

QDateTime as_wall(qint64 seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
}

} // namespace

TForm_takings::TForm_takings(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("营业统计"));
    setObjectName(QStringLiteral("TForm_takings"));
    resize(1200, 900);

    auto *bar = new QHBoxLayout;
    const auto button = [&](const QString &name, const QString &text) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        bar->addWidget(b);
        return b;
    };
    const QVector<QPair<QString, PeriodKind>> named = {{"今天", PeriodKind::Today},
                                                       {"昨天", PeriodKind::Yesterday},
                                                       {"本周", PeriodKind::ThisWeek},
                                                       {"本月", PeriodKind::ThisMonth}};
    const char *names[] = {"takings_today", "takings_yesterday", "takings_week", "takings_month"};
    for (int i = 0; i < named.size(); ++i) {
        const PeriodKind kind = named[i].second;
        connect(button(QString::fromLatin1(names[i]), named[i].first),
                &QPushButton::clicked,
                this,
                [this, kind] { show_named(kind); });
    }
    bar->addSpacing(16);
    const auto edit = [&](const QString &name) {
        auto *e = new QDateTimeEdit(this);
        e->setObjectName(name);
        e->setTimeSpec(Qt::UTC);
        e->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        e->setCalendarPopup(true);
        bar->addWidget(e);
        return e;
    };
    bar->addWidget(new QLabel(QStringLiteral("从"), this));
    m_from = edit(QStringLiteral("takings_from"));
    bar->addWidget(new QLabel(QStringLiteral("至"), this));
    m_to = edit(QStringLiteral("takings_to"));
    connect(button(QStringLiteral("takings_query"), QStringLiteral("查询")),
            &QPushButton::clicked,
            this,
            &TForm_takings::show_range);
    bar->addStretch(1);
    connect(button(QStringLiteral("takings_print"), QStringLiteral("打印")),
            &QPushButton::clicked,
            this,
            &TForm_takings::print_report);
    connect(button(QStringLiteral("takings_export"), QStringLiteral("导出CSV")),
            &QPushButton::clicked,
            this,
            &TForm_takings::export_csv);

    m_period = new QLabel(this);
    m_period->setObjectName(QStringLiteral("takings_period"));
    QFont big = m_period->font();
    big.setPointSize(big.pointSize() + 2);
    big.setBold(true);
    m_period->setFont(big);

    m_figures
        = make_table(this,
                     QStringLiteral("takings_figures"),
                     {QStringLiteral("项目"), QStringLiteral("笔数"), QStringLiteral("金额")});
    m_dishes = make_table(this,
                          QStringLiteral("takings_dishes"),
                          {QStringLiteral("菜品"),
                           QStringLiteral("分类"),
                           QStringLiteral("数量"),
                           QStringLiteral("金额")});
    m_categories
        = make_table(this,
                     QStringLiteral("takings_categories"),
                     {QStringLiteral("分类"), QStringLiteral("数量"), QStringLiteral("金额")});

    auto *right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("菜品销售（销量从高到低）"), this));
    right->addWidget(m_dishes, 3);
    right->addWidget(new QLabel(QStringLiteral("分类销售"), this));
    right->addWidget(m_categories, 1);
    auto *body = new QHBoxLayout;
    body->addWidget(m_figures, 1);
    body->addLayout(right, 1);
    auto *top = new QVBoxLayout(this);
    top->addLayout(bar);
    top->addWidget(m_period);
    top->addLayout(body, 1);

    m_export_path = [this] {
        const QString name = QStringLiteral("营业统计_%1.csv")
                                 .arg(as_wall(m_report.period.from).toString("yyyyMMdd"));
        return QFileDialog::getSaveFileName(this,
                                            QStringLiteral("导出CSV"),
                                            ctx().paths.program + name,
                                            QStringLiteral("CSV 文件 (*.csv)"));
    };
}

void TForm_takings::set_export_path_source(std::function<QString()> source)
{
    m_export_path = std::move(source);
}

void TForm_takings::showEvent(QShowEvent *event)
{
    MivoDialog::showEvent(event);
    // The first showing starts on today; later ones keep the chosen period, fresh.
    if (!m_shown) {
        m_shown = true;
        show_named(PeriodKind::Today);
    } else {
        show_period(m_report.period);
    }
}

void TForm_takings::show_named(PeriodKind kind)
{
    const Period p = named_period(kind, unix_now_secs(ctx().clock()));
    m_from->setDateTime(as_wall(p.from));
    m_to->setDateTime(as_wall(p.to - 1));
    show_period(p);
}

void TForm_takings::show_range()
{
    const qint64 from = m_from->dateTime().toSecsSinceEpoch();
    const qint64 to = m_to->dateTime().toSecsSinceEpoch();
    if (to < from) {
        toast(QStringLiteral("结束时间不能早于开始时间"));
        return;
    }
    show_period(free_period(from, to));
}

void TForm_takings::show_period(const Period &period)
{
    guarded(ctx(), [&] {
        m_report = takings_report(ctx().db_path, period);
        fill();
    });
}

void TForm_takings::fill()
{
    m_period->setText(QStringLiteral("统计时段：") + period_text(m_report.period));
    const QVector<FigureRow> rows = figure_rows(m_report);
    m_figures->setRowCount(int(rows.size()));
    for (int i = 0; i < rows.size(); ++i)
        set_cells(m_figures, i, {rows[i].label, rows[i].count, rows[i].value}, rows[i].heading);
    m_dishes->setRowCount(int(m_report.dishes.size()));
    for (int i = 0; i < m_report.dishes.size(); ++i) {
        const DishSales &d = m_report.dishes[i];
        set_cells(m_dishes,
                  i,
                  {d.title, d.category, QString::number(d.quantity), format_money(d.amount)});
    }
    m_categories->setRowCount(int(m_report.categories.size()));
    for (int i = 0; i < m_report.categories.size(); ++i) {
        const CategorySales &c = m_report.categories[i];
        set_cells(m_categories, i, {c.title, QString::number(c.quantity), format_money(c.amount)});
    }
}

void TForm_takings::print_report()
{
    // Printed as shown: the figures on screen are the ones the owner checked.
    if (print_takings(ctx(), m_report) == PrintOutcome::Printed)
        toast(QStringLiteral("打印完成"));
}

void TForm_takings::export_csv()
{
    const QString path = m_export_path ? m_export_path() : QString();
    if (path.isEmpty())
        return;
    const QString error = write_takings_csv(
        path, m_report, ctx().settings.shopname, format_time(unix_now(ctx().clock())));
    if (error.isEmpty())
        toast(QStringLiteral("导出成功"));
    else
        ctx().prompts().warning(error);
}
