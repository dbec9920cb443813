#include "masterdata/ui/page_bar.h"

#include "masterdata/list_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace {

QPushButton *bar_button(QWidget *parent, const QString &text, const QString &name, int x)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(x, 6, 70, 25);
    b->setAutoDefault(false);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

void apply(QPushButton *b, BarButton state)
{
    if (b && state != BarButton::Keep)
        b->setEnabled(state == BarButton::On);
}

} // namespace

PageBar::PageBar(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("box_page"));
    setFixedHeight(Height);
    m_first = bar_button(this, QStringLiteral("首页"), QStringLiteral("btn_first"), 10);
    m_pre = bar_button(this, QStringLiteral("上一页"), QStringLiteral("btn_pre"), 85);
    m_next = bar_button(this, QStringLiteral("下一页"), QStringLiteral("btn_next"), 160);
    m_last = bar_button(this, QStringLiteral("尾页"), QStringLiteral("btn_last"), 235);

    auto *label = new QLabel(QStringLiteral("关键词"), this);
    label->setGeometry(320, 6, 48, 25);
    m_keyword = new QLineEdit(this);
    m_keyword->setObjectName(QStringLiteral("lab_keyword"));
    m_keyword->setGeometry(368, 6, 150, 25);
    m_search = bar_button(this, QStringLiteral("查询"), QStringLiteral("btn_search"), 524);
    // Enter in the keyword field searches.
    connect(m_keyword, &QLineEdit::returnPressed, m_search, &QPushButton::click);

    m_nums = new QLabel(QStringLiteral("共有0条符合条件的记录"), this);
    m_nums->setObjectName(QStringLiteral("page_nums"));
    m_page = new QLabel(QStringLiteral("0/0"), this);
    m_page->setObjectName(QStringLiteral("page_page"));
    layout_texts();
}

// The page text stands at 815 as long as the window leaves room for it; on a
// narrow window (the area and category screens) it moves left so that it ends
// inside the bar, and the count text takes the room left of it.
void PageBar::layout_texts()
{
    constexpr int NumsLeft = 610;
    constexpr int PageLeft = 815;
    const int textWidth = m_page->fontMetrics().horizontalAdvance(m_page->text()) + 4;
    const int pageLeft = std::max(NumsLeft + 100, std::min(PageLeft, width() - 10 - textWidth));
    m_nums->setGeometry(NumsLeft, 6, pageLeft - 5 - NumsLeft, 25);
    m_page->setGeometry(pageLeft, 6, std::max(textWidth, width() - 10 - pageLeft), 25);
}

void PageBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layout_texts();
}

void set_page_bar(int page, int pages, QWidget *window, int records)
{
    const PageBarState s = page_bar_state(page, pages, records);
    apply(window->findChild<QPushButton *>(QStringLiteral("btn_first")), s.first);
    apply(window->findChild<QPushButton *>(QStringLiteral("btn_pre")), s.pre);
    apply(window->findChild<QPushButton *>(QStringLiteral("btn_next")), s.next);
    apply(window->findChild<QPushButton *>(QStringLiteral("btn_last")), s.last);
    if (auto *nums = window->findChild<QLabel *>(QStringLiteral("page_nums")))
        nums->setText(s.nums);
    if (auto *p = window->findChild<QLabel *>(QStringLiteral("page_page"))) {
        p->setText(s.page);
        if (auto *bar = qobject_cast<PageBar *>(p->parentWidget()))
            bar->layout_texts();
    }
}
