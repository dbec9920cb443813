#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

// The paging bar along the bottom of a list: "首页", "上一页", "下一页", "尾页",
// the keyword field "关键词" with "查询", the count text and the page text. Object
// names: btn_first, btn_pre, btn_next, btn_last, lab_keyword, btn_search,
// page_nums, page_page (box_page for the bar). The window that owns it connects
// the buttons; set_page_bar() fills it after every reload.
class PageBar : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Height = 37;

    explicit PageBar(QWidget *parent);

    QPushButton *first() const { return m_first; }
    QPushButton *pre() const { return m_pre; }
    QPushButton *next() const { return m_next; }
    QPushButton *last() const { return m_last; }
    QPushButton *search() const { return m_search; }
    QLineEdit *keyword() const { return m_keyword; }

    // Places the count and page texts for the bar's width and the page text.
    void layout_texts();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QPushButton *m_first;
    QPushButton *m_pre;
    QPushButton *m_next;
    QPushButton *m_last;
    QLineEdit *m_keyword;
    QPushButton *m_search;
    QLabel *m_nums;
    QLabel *m_page;
};

// Sets the paging buttons and the two texts of the bar inside window (found by
// their object names; a window without one of the texts gets no text there).
void set_page_bar(int page, int pages, QWidget *window, int records);
