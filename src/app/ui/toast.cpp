#include "app/ui/toast.h"

#include "app/ui/forms.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QTimer>

#include <cmath>

int text_width(const QString &text)
{
    QFont font = QApplication::font();
    font.setPointSize(10);
    return QFontMetrics(font).horizontalAdvance(text);
}

Toast::Toast(QWidget *mainWindow)
    : QObject(mainWindow)
    , m_main(mainWindow)
{
    m_timer = new QTimer(mainWindow);
    m_timer->setObjectName(QStringLiteral("Timermsg"));
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &Toast::tick);
}

void Toast::show_toast(const QString &text, int seconds, QWidget *window)
{
    if (!window)
        return;
    if (!m_panel) {
        // A window of its own above every other, so no open dialog hides it and no
        // narrow dialog cuts it; it belongs to the main window and never takes the focus.
        m_panel = new QLabel(m_main,
                             Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                                 | Qt::WindowDoesNotAcceptFocus);
        m_panel->setObjectName(QStringLiteral("toast"));
        m_panel->setAttribute(Qt::WA_ShowWithoutActivating);
        m_panel->setAlignment(Qt::AlignCenter);
        m_panel->setStyleSheet(
            QStringLiteral("QLabel{background:#666666;color:white;border:1px solid #666666;}"));
        QFont f = m_panel->font();
        f.setPointSize(10);
        m_panel->setFont(f);
    }
    const int w = text_width(text) + 5;
    // Centred on the window it reports on, in screen coordinates.
    const QRect frame = window->window()->frameGeometry();
    const int top = frame.y() + int(std::ceil((frame.height() - 40) / 2.0));
    const int left = frame.x() + int(std::ceil((frame.width() - w) / 2.0));
    m_panel->setText(text);
    m_panel->setGeometry(left, top, w, 40);
    m_panel->show();
    m_panel->raise();
    m_countdown = seconds <= 0 ? 2 : seconds;
    m_timer->start();
}

QString Toast::text() const
{
    return m_panel ? m_panel->text() : QString();
}

bool Toast::isShown() const
{
    return m_panel && !m_panel->isHidden();
}

void Toast::tick()
{
    if (m_countdown >= 1) {
        --m_countdown;
        return;
    }
    m_timer->stop();
    if (m_panel)
        m_panel->hide();
}

void show_toast(Forms &forms, const QString &text, int seconds, QWidget *window)
{
    if (forms.toast)
        forms.toast->show_toast(text, seconds, window);
}
