#include "app/ui/box_prompts.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QPushButton>
#include <QSpacerItem>
#include <QStyle>
#include <QTranslator>

namespace {

QWidget *owner()
{
    return QApplication::activeWindow();
}

int show_box(QMessageBox::Icon icon,
             const QString &title,
             const QString &text,
             QMessageBox::StandardButtons buttons)
{
    const std::unique_ptr<QMessageBox> box = make_message_box(icon, title, text, buttons, owner());
    return box->exec();
}

// A failure box: the message large, its technical detail below it.
std::unique_ptr<QMessageBox> failure_box(const QString &text, QMessageBox::StandardButtons buttons)
{
    const qsizetype split = text.indexOf(QStringLiteral("\n\n"));
    auto box = make_message_box(QMessageBox::Critical,
                                QStringLiteral("错误"),
                                split < 0 ? text : text.left(split),
                                buttons,
                                owner());
    if (split >= 0)
        box->setInformativeText(text.mid(split + 2));
    return box;
}

} // namespace

bool load_qt_chinese(QCoreApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Chinese, QLocale::China),
                         QStringLiteral("qtbase"),
                         QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        && QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

std::unique_ptr<QMessageBox> make_message_box(QMessageBox::Icon icon,
                                              const QString &title,
                                              const QString &text,
                                              QMessageBox::StandardButtons buttons,
                                              QWidget *parent)
{
    auto box = std::make_unique<QMessageBox>(icon, title, text, buttons, parent);
    // Qt's own translation names the buttons; without it they are named here.
    if (QAbstractButton *ok = box->button(QMessageBox::Ok);
        ok && ok->text() != QStringLiteral("确定"))
        ok->setText(QStringLiteral("确定"));
    if (QAbstractButton *cancel = box->button(QMessageBox::Cancel);
        cancel && cancel->text() != QStringLiteral("取消"))
        cancel->setText(QStringLiteral("取消"));
    if (buttons & QMessageBox::Ok)
        box->setDefaultButton(QMessageBox::Ok);
    // A short text would make the box narrower than its title bar needs.
    const int titleBar = box->fontMetrics().horizontalAdvance(title)
                         + 4 * box->style()->pixelMetric(QStyle::PM_TitleBarHeight) + 40;
    // A Chinese sentence may break after any character: one that fits a box of sensible
    // width stays on one line instead of leaving its last character on a line of its own.
    if (auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        label && !text.contains(QChar('\n'))) {
        const int one_line = label->fontMetrics().horizontalAdvance(text) + 8;
        if (one_line <= 640)
            label->setMinimumWidth(one_line);
    }
    if (auto *grid = qobject_cast<QGridLayout *>(box->layout()))
        grid->addItem(new QSpacerItem(titleBar, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                      grid->rowCount(),
                      0,
                      1,
                      grid->columnCount());
    return box;
}

bool BoxPrompts::confirm(const QString &text)
{
    return show_box(QMessageBox::Question,
                    QStringLiteral("友情提示"),
                    text,
                    QMessageBox::Ok | QMessageBox::Cancel)
           == QMessageBox::Ok;
}

void BoxPrompts::information(const QString &text)
{
    show_box(QMessageBox::Information, QStringLiteral("友情提示"), text, QMessageBox::Ok);
}

void BoxPrompts::warning(const QString &text)
{
    show_box(QMessageBox::Warning, QStringLiteral("友情提示"), text, QMessageBox::Ok);
}

void BoxPrompts::error(const QString &text)
{
    failure_box(text, QMessageBox::Ok)->exec();
}

bool BoxPrompts::retry(const QString &text)
{
    const auto box = failure_box(text, QMessageBox::Retry | QMessageBox::Close);
    box->button(QMessageBox::Retry)->setText(QStringLiteral("重试"));
    box->button(QMessageBox::Close)->setText(QStringLiteral("退出"));
    box->setDefaultButton(QMessageBox::Retry);
    return box->exec() == QMessageBox::Retry;
}
