#include "app/ui/box_prompts.h"

#include <QApplication>
#include <QMessageBox>

namespace {
QWidget *owner()
{
    return QApplication::activeWindow();
}
} // namespace

bool BoxPrompts::confirm(const QString &text)
{
    return QMessageBox::question(owner(),
                                 QStringLiteral("友情提示"),
                                 text,
                                 QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Ok)
           == QMessageBox::Ok;
}

void BoxPrompts::information(const QString &text)
{
    QMessageBox::information(owner(), QStringLiteral("友情提示"), text);
}

void BoxPrompts::warning(const QString &text)
{
    QMessageBox::warning(owner(), QStringLiteral("友情提示"), text);
}

void BoxPrompts::error(const QString &text)
{
    QMessageBox::critical(owner(), QStringLiteral("错误"), text);
}
