#pragma once

#include "app/ui/forms.h"

#include <QWidget>

// The program's one working window: menu bar, table board, order panel, login box.
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
    // False when a store failure stopped the start-up steps.
    bool started() const { return m_started; }

    // ---- the board's refreshes, called by the dialogs ----
    void load_desk();
    void reload_board();
    void set_desk_lat();
    void set_desk_vis();
    void set_desk_sub(const QString &desk_id);
    void set_desk_price(const QString &desk_id, const QString &amount);
    void load_desk_ord();
    void set_desk_info();
    void get_tongji_info();
    void reload_desk();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void first_show();

    Forms &m_forms;
    bool m_started = false;
    bool m_shown = false;
    int m_w = 0;
    int m_h = 0;
};
