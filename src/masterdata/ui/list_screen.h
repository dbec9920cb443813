#pragma once

#include "app/ui/mivo_dialog.h"
#include "masterdata/list_page.h"

#include <QColor>
#include <QSize>
#include <QVector>

#include <functional>

class PageBar;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

// One column of a list screen.
struct ListColumn
{
    enum Kind {
        Text,       // a text cell
        EditIcon,   // "编辑": toggles the editor between this row and add mode
        DeleteIcon, // "删除": asks "确认要删除吗", then mydel()
        ActionIcon, // another icon; a click calls action_click()
    };
    QString title;
    int width = 0; // pixels; 0 for the one column that takes the rest of the list
    Kind kind = Text;
    // Text columns: the page column shown ("#" for the row number) ...
    QString field;
    // ... or, when set, the cell text made from the page row.
    std::function<QString(const ListPage &page, int row)> format;
    Qt::Alignment align = Qt::AlignLeft;
    // When set, the column is widened (taking from the name column) until this
    // sample fits in the row font, so fixed-format cells such as times are never cut.
    QString fits;

    // A text column showing a page column ("#": the row number).
    static ListColumn text(const QString &title, int width, const QString &field)
    {
        ListColumn c;
        c.title = title;
        c.width = width;
        c.field = field;
        return c;
    }
    // A text column whose cell is made from the page row.
    static ListColumn
    made(const QString &title, int width, std::function<QString(const ListPage &, int)> format)
    {
        ListColumn c;
        c.title = title;
        c.width = width;
        c.format = std::move(format);
        return c;
    }
    // An icon column, 50 wide and centred.
    static ListColumn icon(const QString &title, Kind kind)
    {
        ListColumn c;
        c.title = title;
        c.width = 50;
        c.kind = kind;
        c.align = Qt::AlignHCenter;
        return c;
    }
};

// How a screen configures the list screen.
struct ListScreenConfig
{
    QString object_name; // "TForm_desk"
    QString caption;     // "桌位管理"
    QSize size{900, 600};
    QString panel_name = QStringLiteral("GroupBox1"); // the editor panel
    QVector<ListColumn> columns;
    int page_size = 15;
    ListQuery query; // count and page; the page rows must have an "id" column
    // Captions of the editor panel and the save button: at creation, in add mode
    // and in edit mode.
    QString first_panel, first_button;
    QString add_panel, add_button;
    QString edit_panel, edit_button;
    QColor line_colour{255, 0, 0}; // the 1-pixel line under each row
    int row_font_size = 0;         // 0: the list's own font
};

// The paged list-and-edit window of every master-data screen: the owner-drawn
// list ListView1 on the left, the editor panel on the right with the save button
// CnButton1, and the paging bar along the bottom (see PageBar).
//
// The base does the paging, the keyword, the row numbers, the drawing, the click
// rules (编辑 toggles with the last clicked row, 删除 asks first, a double-click in
// the first two columns toggles) and the add/edit mode with its captions. A
// screen derives from it, passes its ListScreenConfig, puts its fields into
// editor() and implements:
//   set_edit(1, id)  fill the fields from record id;  set_edit(0, {})  clear them
//   save()           check the fields, write, toast, getlist() and announce
//   mydel(id)        delete (or refuse with a toast), getlist() and announce
// and may override show_step() (default: getlist()), action_click() and
// row_text_colour(). Checks and writes belong in core functions that return the
// text to toast (see SaveOutcome in class_rules.h); the window only shows it.
//
// A screen with a fixed condition and a further icon column, for example:
//   ListScreenConfig c;
//   c.object_name = "TForm_member";  c.caption = "会员管理";
//   c.columns = {ListColumn::text("编号", 50, "#"), ListColumn::text("会员姓名", 0, "truename"),
//                ListColumn::icon("充值", ListColumn::ActionIcon),
//                ListColumn::icon("编辑", ListColumn::EditIcon),
//                ListColumn::icon("删除", ListColumn::DeleteIcon)};
//   c.query.count = "SELECT count(*) FROM lumo_member";
//   c.query.select = "SELECT id,mobile,truename FROM lumo_member";
//   c.query.order_by = "ORDER BY id DESC";
//   c.query.condition = [](const QString &keyword) {
//       return keyword.isEmpty() ? SqlCondition{"WHERE stat=0", {}}
//                                : SqlCondition{"WHERE stat=0 AND truename LIKE ?",
//                                               {"%" + keyword + "%"}};
//   };
// The orders list, which has no editor, uses PageBar and set_page_bar() alone.
class ListScreen : public MivoDialog
{
    Q_OBJECT
public:
    // ---- the list-screen operations ----
    // Reloads the current page: count, page count, rows, paging bar.
    void getlist();
    // isedit 1: edit mode for id; 0: toggles between edit mode for id and add mode.
    void seteditstat(int isedit, const QString &id);
    void btn_firstClick();
    void btn_preClick();
    void btn_nextClick();
    void btn_lastClick();
    void btn_searchClick();

    // ---- state, for the screen and for tests ----
    int current_page() const { return m_page; }
    bool editing() const { return m_editor.editing; }
    QString edit_id() const { return m_editor.edit_id; }
    const ListPage &page_rows() const { return m_rows; }
    QTableWidget *list() const { return m_list; }
    QGroupBox *editor() const { return m_panel; }
    QPushButton *save_button() const { return m_save; }
    PageBar *page_bar() const { return m_bar; }

protected:
    ListScreen(Forms &forms, QWidget *parent, ListScreenConfig config);

    virtual void set_edit(int isedit, const QString &id) = 0;
    virtual void save() = 0;
    virtual void mydel(const QString &id) = 0;
    virtual void show_step() { getlist(); }
    virtual void action_click(int column, const QString &id);
    virtual QColor row_text_colour(int row) const;

    void showEvent(QShowEvent *event) override;

    // A label and an edit in the editor panel at height y; the edit gets the name.
    QLineEdit *add_field(const QString &label, const QString &name, int y);
    // A flat coloured button with white text.
    static QPushButton *
    flat_button(QWidget *parent, const QString &text, const QString &name, const QColor &face);

    const ListScreenConfig &config() const { return m_config; }

private:
    friend class ListRowDelegate;
    void build_list();
    void fill_rows();
    void FlClick(int row, int column);
    void turn_page(PageMove move);
    void ListView1DblClick(int row, int column);
    QString row_id(int row) const;

    ListScreenConfig m_config;
    QTableWidget *m_list = nullptr;
    QGroupBox *m_panel = nullptr;
    QPushButton *m_save = nullptr;
    PageBar *m_bar = nullptr;
    ListPage m_rows;
    ListEditor m_editor;
    int m_page = 1;
};
