#include "board/ui/tform_main.h"

#include "app/startup.h"
#include "app/ui/box_prompts.h"

#include <QCoreApplication>
#include <QShowEvent>

TForm_main::TForm_main(Forms &forms, const QString &program_folder)
    : QWidget(nullptr)
    , m_forms(forms)
{
    setObjectName(QStringLiteral("TForm_main"));
    setWindowTitle(QStringLiteral("Mivo餐饮管理软件"));
    resize(1280, 800);
    m_started = guarded(ctx(), [&] { start_core(ctx(), program_folder); });
}

void TForm_main::toast(const QString &text, int seconds)
{
    show_toast(m_forms, text, seconds, this);
}

void TForm_main::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        first_show();
    }
}

void TForm_main::closeEvent(QCloseEvent *event)
{
    // Closing the main window ends the program at once; every operation has
    // already written its data.
    QWidget::closeEvent(event);
    QCoreApplication::quit();
}

void TForm_main::first_show()
{
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    setWindowState(windowState() | Qt::WindowMaximized);
    m_w = width();
    m_h = height();
}

void TForm_main::load_desk() {}
void TForm_main::reload_board() {}
void TForm_main::set_desk_lat() {}
void TForm_main::set_desk_vis() {}
void TForm_main::set_desk_sub(const QString &) {}
void TForm_main::set_desk_price(const QString &, const QString &) {}
void TForm_main::load_desk_ord() {}
void TForm_main::set_desk_info() {}
void TForm_main::get_tongji_info() {}
void TForm_main::reload_desk() {}
