#pragma once

// Small helpers shared by the main window's source files.

#include <QColor>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QString>
#include <QWidget>

namespace main_ui {

inline const char *ClassIdProperty = "classid";
inline const char *MenuIdProperty = "menuid";

inline const QString ClassPrefix = QStringLiteral("desklist_class_groupbox_");

// Menu bar and summary bar have no border, so their inner heights are their heights.
inline constexpr int MenuBarHeight = 60;
inline constexpr int SummaryHeight = 85;

inline void paint(QWidget *w, const QString &colour)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, QColor(colour));
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

inline void set_text_colour(QWidget *w, const QColor &colour)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, colour);
    w->setPalette(pal);
}

// Takes a widget off the window now and deletes it once the current event is over:
// a click may rebuild the very box it was made on.
inline void retire(QWidget *w)
{
    if (!w)
        return;
    w->hide();
    w->setParent(nullptr);
    w->deleteLater();
}

inline QLabel *make_label(QWidget *parent,
                          const QString &text,
                          const QRect &geometry,
                          const QString &name = QString())
{
    auto *l = new QLabel(text, parent);
    if (!name.isEmpty())
        l->setObjectName(name);
    l->setGeometry(geometry);
    return l;
}

// A flat coloured button; disabled, it turns grey so it plainly cannot be pressed.
inline QPushButton *make_colour_button(QWidget *parent,
                                       const QString &text,
                                       const QString &colour,
                                       const QString &textColour,
                                       const QString &name)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setStyleSheet(QStringLiteral("QPushButton{background:%1;color:%2;border:1px solid #B0B0B0;}"
                                    "QPushButton:disabled{background:#D6D6D6;color:#9A9A9A;"
                                    "border:1px solid #C4C4C4;}")
                         .arg(colour, textColour));
    return b;
}

} // namespace main_ui
