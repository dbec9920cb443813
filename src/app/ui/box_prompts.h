#pragma once

#include "app/context.h"

#include <QMessageBox>

#include <memory>

class QCoreApplication;

// Installs Qt's own Chinese translation (standard buttons and dialogs); false when
// it is not installed on this machine.
bool load_qt_chinese(QCoreApplication &app);

// A message box as the program shows them: buttons "确定" and "取消" whether or not
// Qt's translation is there, and at least as wide as its title needs.
std::unique_ptr<QMessageBox> make_message_box(QMessageBox::Icon icon,
                                              const QString &title,
                                              const QString &text,
                                              QMessageBox::StandardButtons buttons,
                                              QWidget *parent = nullptr);

// The real message boxes, over the active window.
class BoxPrompts : public Prompts
{
public:
    bool confirm(const QString &text) override;
    void information(const QString &text) override;
    void warning(const QString &text) override;
    // The first paragraph is the message, what follows a blank line its detail.
    void error(const QString &text) override;
    // Buttons "重试" and "退出".
    bool retry(const QString &text) override;
};

// Runs an event handler's work; a store failure is shown in the error box and
// leaves the window usable. Returns false when the work failed.
template<class F> bool guarded(AppContext &ctx, F &&work);

#include "store/sqlite_db.h"

template<class F> bool guarded(AppContext &ctx, F &&work)
{
    try {
        work();
        return true;
    } catch (const ESQLiteException &e) {
        ctx.prompts().error(store_failure_text(e));
    }
    return false;
}
