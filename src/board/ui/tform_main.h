#pragma once

#include "app/ui/forms.h"
#include "board/board.h"
#include "store/keep_connection.h"

#include <QHash>
#include <QPointer>
#include <QSize>
#include <QStringList>
#include <QSystemTrayIcon>
#include <QWidget>

class DeskTile;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollArea;
class QTimer;
class QTreeWidget;

// The program's one working window: menu bar, table board, order panel, login box.
// Every region is placed once, at the first showing, from the window's width W and
// height H then; later size changes move nothing.
class TForm_main : public QWidget
{
    Q_OBJECT
public:
    TForm_main(Forms &forms, const QString &program_folder);

    AppContext &ctx() const { return m_forms.ctx; }
    void toast(const QString &text, int seconds = 2);

    // Width and height recorded at the first showing.
    int W() const { return m_w; }
    int H() const { return m_h; }
    // False when the database could not be used at start and the cashier chose to quit.
    bool started() const { return m_started; }

    // Before the first showing: take this size as W and H instead of maximising.
    // Tests and screenshots use it to get a known board width (tiles per row).
    void set_board_size(const QSize &size) { m_board_size = size; }

    // ---- the board's refreshes (changes reach them through the notifier) ----
    void load_desk();
    void reload_board();
    // After tiles were rebuilt (they come up unselected): select the table again, or
    // forget it when it was deleted.
    void reselect_after_rebuild(const QString &selected);
    void load_desk_class();
    void set_desk_lat();
    void set_desk_vis();
    void remove_desk();
    void remove_desk_class();
    void set_desk_sub(const QString &desk_id);
    void set_desk_price(const QString &desk_id, const QString &amount);
    void load_desk_ord();
    void set_desk_info();
    void get_tongji_info();
    void reload_desk();
    // After the settings were saved: first board page with the new page size, and
    // the sync timer with its new interval and switch.
    void apply_settings();
    // Changes the table's state; "0" clears it (消台).
    void set_desk_stat(const QString &desk_id, const QString &stat);

    // ---- staff access ----
    void createmenu();
    void create_menu_box();
    void showlogin();

    // ---- board state, read by tests ----
    int tiles_per_row() const { return m_per_row; }
    int board_page() const { return m_page; }
    int page_count() const { return m_page_count; }
    int visible_count() const { return m_visible_count; }
    QString selected_area() const { return m_area; }
    QTimer *sync_timer() const { return m_sync_timer; }
    QSystemTrayIcon *tray_icon() const { return m_tray; }

public slots:
    // The table's data changed: its tile, the order panel (when the table is the
    // selected one) and the summary bar are read again from the database.
    void on_desk_changed(const QString &desk_id);
    // The guests moved from one table to another: both tiles follow and the target
    // becomes the board's selection.
    void on_desk_transferred(const QString &from_id, const QString &to_id);
    void ClickDesklist(const QString &desk_id);
    void desk_class_click(const QString &class_id);
    void cn_preClick();
    void cn_nextClick();
    void login();
    void ClickKaitai();
    void ClickZhuantai();
    void ClickXiaotai();
    void ClickDiancan();
    void ClickJiezhang();
    void ClickPrint();
    void ClickPrintCs();
    void ClickOrder();
    void ClickTakings();
    void ClickDesk();
    void ClickCaipin();
    void ClickCaipinClass();
    void ClickHuiyuan();
    void ClickChongzhi();
    void ClickSetting();
    void ClickModify();
    void ClickLogout();
    void ClickDeleteTest();
    // One tick of the synchronisation timer: tile amounts while no table is selected.
    void sync_tick();
    // Notification area.
    void RestoreWindow();
    void N1Click();
    void N2Click();
    void WMBarIcon(QSystemTrayIcon::ActivationReason reason);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Follows every committed change (the notifier) in what the board shows.
    void subscribe();
    // Tables or areas were added, edited or deleted: area bar, tiles and summary.
    void follow_areas();
    // Everything is read again: a restored file, the demonstration data removed.
    void follow_database();
    // The tiles exist (the first showing made them).
    bool board_built() const { return m_desk_area != nullptr; }
    // The start-up steps, asking to try again while the database cannot be used.
    bool start(const QString &program_folder);
    void first_show();
    void offer_demo_data();
    void build_regions();
    void place_order_panel();
    void place_login();
    void place_summary();
    void place_tile_area();
    void restack();
    void minimise_to_tray();
    void run_menu_entry(int id);
    bool need_desk();
    void make_tile(const DeskRecord &r, int index);
    // The table's tile, built now if it was left unbuilt; null for a table not on the board.
    DeskTile *tile(const QString &desk_id);
    // The tile only if it is built.
    DeskTile *built_tile(const QString &desk_id) const;
    void set_tile_amount(const QString &desk_id, const QString &bh, const QString &price);
    void select_desk(const QString &desk_id);
    // The order panel and its header from what was read.
    void show_desk_ord(const QVector<PanelLine> &lines, const DeskInfo &info);
    void show_desk_info(const DeskInfo &info);
    // The table and its open order that a dialog opened now acts on.
    QString open_order_of_selected() const;
    void show_login_box();
    void hide_login_box();
    void set_operator();

    QRect tile_region() const;

    Forms &m_forms;
    bool m_started = false;
    bool m_shown = false;
    QSize m_board_size;
    int m_w = 0;
    int m_h = 0;
    // Client size of the maximised window: W x H less the frame, known only once the
    // window manager has maximised the window.
    int m_cw = 0;
    int m_ch = 0;
    bool m_client_known = false;

    // Regions.
    QFrame *m_menu_box = nullptr;
    QFrame *m_class_box = nullptr;
    QWidget *m_desk_area = nullptr;
    QScrollArea *m_desk_scroll = nullptr;
    QWidget *m_desk_content = nullptr;
    QFrame *m_summary = nullptr;
    QWidget *m_paging = nullptr;
    QPushButton *m_pre = nullptr;
    QPushButton *m_next = nullptr;
    QFrame *m_order_panel = nullptr;
    QTreeWidget *m_order_list = nullptr;
    QWidget *m_login_cover = nullptr;
    QFrame *m_login_box = nullptr;
    QLineEdit *m_login_name = nullptr;
    QLineEdit *m_login_password = nullptr;
    QLabel *m_info[8] = {};
    QLabel *m_sum_total = nullptr;
    QLabel *m_sum_people = nullptr;
    QLabel *m_sum_settled = nullptr;
    QLabel *m_sum_unsettled = nullptr;
    QPushButton *m_count[5] = {};
    QLabel *m_operator = nullptr;
    QTimer *m_sync_timer = nullptr;
    // The last tick failed and said so: a failure that repeats is shown once, until a
    // tick succeeds again.
    bool m_sync_failed = false;
    // The board's reads on clicks, ticks and changes go through this connection.
    HeldConnection m_reads;
    QSystemTrayIcon *m_tray = nullptr;
    QMenu *m_tray_menu = nullptr;

    // Board state.
    QString m_last_clicked;
    QString m_area;
    QStringList m_area_ids;
    QStringList m_tile_ids;
    QHash<QString, QPointer<DeskTile>> m_tiles;
    // Tiles are built when they are first shown or changed: a board of hundreds of
    // tables shows one page, and building every tile held up the first showing.
    // Until then a table keeps the row it was loaded with and the last amount set.
    struct UnbuiltTile
    {
        DeskRecord record;
        int index = 0;
        bool amount_set = false;
        QString bh;
        QString price;
    };
    QHash<QString, UnbuiltTile> m_unbuilt;
    int m_page = 1;
    int m_page_count = 1;
    int m_visible_count = 0;
    int m_per_row = 0;
};
