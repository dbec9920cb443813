#pragma once

#include "app/ui/mivo_dialog.h"
#include "masterdata/list_page.h"

class PageBar;
class QTableWidget;

// "订单": every order, newest first, 20 to a page, with the lines of the clicked
// order beside it. Its "客打" cell reprints the customer receipt, its "厨打" cell
// opens the kitchen ticket choice for that order. It only reads. The page, the
// keyword and the shown order stay as they were between showings.
class TForm_orders : public MivoDialog
{
    Q_OBJECT
public:
    TForm_orders(Forms &forms, QWidget *parent);

    // Column positions of the order list.
    enum Column {
        ColNumber,
        ColTitle,
        ColOrdid,
        ColAddtime,
        ColPaytype,
        ColAllprice,
        ColPaid,
        ColYj,
        ColNums,
        ColDeskid,
        ColKind,
        ColBalance,
        ColReceipt,
        ColKitchen,
        ColumnCount
    };

    // Rebuilds the current page and the shown order's lines.
    void getlist();
    void btn_firstClick();
    void btn_preClick();
    void btn_nextClick();
    void btn_lastClick();
    void btn_searchClick();

    // Shows what another window changed while this one is open.
    void follow_change();

    int current_page() const { return m_page; }
    QString shown_order() const { return m_shown; }
    QTableWidget *list() const { return m_list; }
    QTableWidget *lines() const { return m_lines; }
    PageBar *page_bar() const { return m_bar; }

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void build_lists();
    void fill_rows();
    void list_lines();
    void FlClick(int row, int column);
    void turn_page(PageMove move);
    void lay_out();

    QTableWidget *m_list = nullptr;  // ListView1
    QTableWidget *m_lines = nullptr; // ListView2
    PageBar *m_bar = nullptr;
    ListPage m_rows;
    int m_page = 1;
    QString m_shown; // the order whose lines are listed; none at first
};
