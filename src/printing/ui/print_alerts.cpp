#include "printing/ui/print_alerts.h"

#include "app/ui/forms.h"
#include "board/ui/tform_main.h"
#include "printing/print_queue.h"

#include <QMessageBox>

PrintSpool *start_print_spool(Forms &forms)
{
    auto *spool = new PrintSpool(forms.ctx, forms.main);
    spool->setObjectName(QStringLiteral("print_spool"));
    QWidget *main = forms.main;
    QObject::connect(
        spool, &PrintSpool::failed, main, [main](const QString &, const QString &text) {
            // Made at the first failure; several failures while it is up are listed together.
            auto *box = main->findChild<QMessageBox *>(QStringLiteral("print_failure_box"));
            if (!box) {
                box = new QMessageBox(QMessageBox::Warning,
                                      QStringLiteral("友情提示"),
                                      QString(),
                                      QMessageBox::Ok,
                                      main);
                box->setObjectName(QStringLiteral("print_failure_box"));
                box->setModal(false);
            }
            QStringList lines
                = box->isVisible() ? box->property("failures").toStringList() : QStringList();
            lines << text;
            box->setProperty("failures", lines);
            box->setText(lines.join(QLatin1Char('\n'))
                         + QStringLiteral("\n（未打印的单据在“厨房出单”中可重新打印）"));
            box->show();
            box->raise();
        });
    // Jobs left from the last run (or queued by another counter) go out now.
    spool->kick();
    return spool;
}

PrintSpool *print_spool(const Forms &forms)
{
    return forms.main ? forms.main->findChild<PrintSpool *>(QStringLiteral("print_spool"))
                      : nullptr;
}
