#pragma once

#include <QApplication>

class AppContext;

// Catches a store failure that escaped an event handler, shows it, and keeps the
// program running.
class MivoApplication : public QApplication
{
public:
    MivoApplication(int &argc, char **argv);
    void setContext(AppContext *ctx) { m_ctx = ctx; }
    bool notify(QObject *receiver, QEvent *event) override;

private:
    AppContext *m_ctx = nullptr;
};

// Creates every window, shows the main window and runs the event loop.
int start_program(int argc, char **argv);
