// The yardstick of the start-up: a bare Qt Widgets program that shows one maximised
// window. Prints "shown_ms=..." (launch to the window's first painting) and the size
// it painted ("size=WxH"), and ends.

#include "shown_watch.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    shown_watch::on_first_paint([](QWidget *window) {
        std::printf("shown_ms=%.2f\nsize=%dx%d\n",
                    shown_watch::ms_since_launch(),
                    window->width(),
                    window->height());
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare"));
    // Without a window manager (a bare X server) asking for the maximised state
    // changes nothing, and the window would paint at its default 640x480. The
    // program sizes its window to the screen itself; so does its yardstick.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window.setGeometry(screen->availableGeometry());
    window.showMaximized();
    return QApplication::exec();
}
