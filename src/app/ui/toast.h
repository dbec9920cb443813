#pragma once

#include <QLabel>
#include <QObject>
#include <QPointer>

class QLabel;
class QTimer;
class QWidget;

// The one message panel of the program: a grey box with white text centred over a
// window and above every window of the program, hidden by the message timer after
// its countdown.
class Toast : public QObject
{
    Q_OBJECT
public:
    explicit Toast(QWidget *mainWindow);

    void show_toast(const QString &text, int seconds, QWidget *window);

    QString text() const;
    int countdown() const { return m_countdown; }
    bool isShown() const;
    QLabel *panel() const { return m_panel; }
    QTimer *timer() const { return m_timer; }

    // One tick of the message timer.
    void tick();

private:
    QPointer<QWidget> m_main;
    QPointer<QLabel> m_panel;
    QTimer *m_timer = nullptr;
    int m_countdown = 0;
};

// Width in pixels of a text in the default interface font at size 10.
int text_width(const QString &text);
