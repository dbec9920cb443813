#include "app/ui/mivo_application.h"

#include "app/context.h"
#include "app/ui/box_prompts.h"
#include "app/ui/forms.h"
#include "board/ui/tform_main.h"
#include "printing/ui/qt_print_device.h"
#include "store/keep_connection.h"
#include "store/sqlite_db.h"

MivoApplication::MivoApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{}

bool MivoApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const ESQLiteException &e) {
        if (m_ctx)
            m_ctx->prompts().error(store_failure_text(e));
    }
    return false;
}

int start_program(int argc, char **argv)
{
    MivoApplication app(argc, argv);
    MivoApplication::setApplicationName(QStringLiteral("mivo"));
    load_qt_chinese(app);
    AppContext ctx;
    ctx.setPrompts(std::make_shared<BoxPrompts>());
    ctx.setPrintDevice(std::make_shared<QtPrintDevice>());
    app.setContext(&ctx);
    std::unique_ptr<Forms> forms;
    {
        // The start-up's reads share one connection.
        const KeepConnection keep;
        forms = create_forms(ctx, QCoreApplication::applicationDirPath());
        // The cashier chose to quit when the database could not be used.
        if (!forms->main->started())
            return 1;
        forms->main->show();
    }
    // Closing the main window ends the program at once.
    QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);
    const int rc = MivoApplication::exec();
    app.setContext(nullptr);
    return rc;
}
