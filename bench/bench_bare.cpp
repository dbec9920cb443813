// The yardstick of the start-up: a bare Qt Widgets program that shows one maximised
// window. Prints "shown_ms=..." (launch to the window's first painting) and ends.

#include "shown_watch.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    shown_watch::on_first_paint([](QWidget *) {
        std::printf("shown_ms=%.2f\n", shown_watch::ms_since_launch());
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.showMaximized();
    return QApplication::exec();
}
