#pragma once

#include "app/ui/desk_dialog.h"
#include "ordering/dish_grid.h"
#include "ordering/orders.h"

#include <QHash>
#include <QVector>

class ClickFrame;
class DishTile;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QTableWidget;
class QTableWidgetItem;

// The ordering screen: the open order's lines on the left, the dish tiles with
// keyword search, categories and paging on the right.
class TForm_diancan : public DeskDialog
{
    Q_OBJECT
public:
    TForm_diancan(Forms &forms, QWidget *parent);

    // Shows the screen for the table (reloaded, when already visible); every submit
    // and batch change goes to that table's order.
    void open_with(const QString &desk_id, const QString &order_id);
    // Reloads the line list of the table's open order.
    void load_desk_ord_1();
    // A table changed: the line list follows when it is this one's.
    void follow_desk_change(const QString &desk_id);
    // The guests of this screen's table moved: the screen goes with them.
    void follow_desk_transfer(const QString &from_id, const QString &to_id);
    // Rebuilds the category strip (after the dish categories changed).
    void load_caipin_class();
    // Rebuilds the dish tiles (after a dish was saved); every choice on them is lost.
    void load_caipin();

    // The dish tile selected last; empty when none.
    QString current_dish() const { return m_current_dish; }
    // The dish's tile when the dish is on the page shown; null otherwise.
    DishTile *tile(const QString &dish_id) const { return m_tile_by_id.value(dish_id); }
    // The dish with the waiter's choices, on the page or not; null when the menu
    // has no such dish (any more).
    const TileRecord *dish(const QString &dish_id) const;
    // Writes the methods dialog's choices into a dish; false when the dish is gone.
    bool apply_choices(const QString &dish_id,
                       const QString &quantity,
                       const QString &zfid,
                       const QString &zfidstr,
                       const QString &remark);

    int page() const { return m_page; }
    int page_count() const { return m_page_count; }
    int columns() const { return m_columns; }
    // Tiles on a full page: no more than fit into the dish area.
    int page_size() const;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Follows the changes of lines, tables and the menu (the notifier).
    void subscribe();
    // Lines, header and dish page for the table held.
    void prepare();
    void layout_panes();
    void place_strip();
    // Applies keyword, category and page to the tiles and places the shown ones.
    void set_caipin_lat();
    // Gives the page's tiles these dishes (positions in m_dishes), in order.
    void show_page(const QVector<int> &dishes);
    void reset_tiles();
    void toggle_dish(DishTile *tile);
    void class_click(const QString &class_id);
    void restart_filter();
    void prev_click();
    void next_click();
    void submit_click();
    void batch_click(LineOp op);
    void gaijia_click();
    void zuofa_click();
    void all_click(bool checked);
    void line_item_changed(QTableWidgetItem *item);
    QString checked_line_ids() const;

    QLabel *m_header = nullptr;
    QCheckBox *m_all = nullptr;
    QVector<QPushButton *> m_batch_buttons;
    QTableWidget *m_list = nullptr;
    QVector<QPushButton *> m_zuofa_buttons;
    QLabel *m_keyword_label = nullptr;
    QLineEdit *m_keyword = nullptr;
    QPushButton *m_clear = nullptr;
    QPushButton *m_search = nullptr;
    QScrollArea *m_strip_area = nullptr;
    QWidget *m_strip = nullptr;
    QWidget *m_dish_area = nullptr;
    QPushButton *m_submit = nullptr;
    QPushButton *m_prev = nullptr;
    QPushButton *m_next = nullptr;

    // Every dish in tile order with the waiter's choices. Tiles exist for one page
    // only: thousands of widgets made the first showing and every keystroke slow.
    QVector<TileRecord> m_dishes;
    QHash<QString, int> m_dish_index;        // dish id -> position in m_dishes
    QVector<DishTile *> m_page_tiles;        // reused from page to page
    QHash<QString, DishTile *> m_tile_by_id; // the dishes on the page
    QVector<ClickFrame *> m_class_tiles;

    QString m_class_ids = QStringLiteral("0");
    QString m_current_class;
    QString m_current_dish;
    int m_page = 1;
    int m_page_count = 0;
    int m_columns = 1;
    bool m_built = false;
    QRect m_dish_rect; // where the dish area goes
};
