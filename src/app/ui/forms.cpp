#include "app/ui/forms.h"

#include "app/notifier.h"
#include "app/ui/tform_about.h"
#include "app/ui/tform_down.h"
#include "app/ui/tform_orders_detail.h"
#include "app/ui/tform_shop.h"
#include "app/ui/tform_shop_orders.h"
#include "app/ui/toast.h"
#include "board/ui/tform_desk_zhuantai.h"
#include "board/ui/tform_desk_zt.h"
#include "board/ui/tform_main.h"
#include "checkout/ui/tform_cancel.h"
#include "checkout/ui/tform_chongzhi.h"
#include "checkout/ui/tform_defaultpay.h"
#include "masterdata/ui/tform_caipin.h"
#include "masterdata/ui/tform_cp_class.h"
#include "masterdata/ui/tform_desk.h"
#include "masterdata/ui/tform_desk_class.h"
#include "masterdata/ui/tform_member.h"
#include "masterdata/ui/tform_yuangong.h"
#include "ordering/ui/tform_caipin_zuofa.h"
#include "ordering/ui/tform_diancan.h"
#include "ordering/ui/tform_gaijia.h"
#include "printing/ui/print_alerts.h"
#include "printing/ui/tform_chuda.h"
#include "reports/ui/tform_orders.h"
#include "reports/ui/tform_takings.h"
#include "settings/ui/tform_backup.h"
#include "settings/ui/tform_system.h"
#include "staff/sign_in.h"
#include "staff/ui/tform_modify.h"

Forms::Forms(AppContext &context)
    : ctx(context)
{}

Forms::~Forms()
{
    // Dialogs are children of the main window; it takes them with it.
    delete main;
}

std::unique_ptr<Forms> create_forms(AppContext &ctx, const QString &program_folder)
{
    auto forms = std::make_unique<Forms>(ctx);
    forms->main = new TForm_main(*forms, program_folder);
    forms->toast = new Toast(forms->main);
    forms->desk = new TForm_desk(*forms, forms->main);
    forms->diancan = new TForm_diancan(*forms, forms->main);
    forms->caipin = new TForm_caipin(*forms, forms->main);
    forms->system = new TForm_system(*forms, forms->main);
    forms->about = new TForm_about(*forms, forms->main);
    forms->modify = new TForm_modify(*forms, forms->main);
    forms->member = new TForm_member(*forms, forms->main);
    forms->cp_class = new TForm_cp_class(*forms, forms->main);
    forms->caipin_zuofa = new TForm_caipin_zuofa(*forms, forms->main);
    forms->desk_class = new TForm_desk_class(*forms, forms->main);
    forms->cancel = new TForm_cancel(*forms, forms->main);
    forms->desk_zt = new TForm_desk_zt(*forms, forms->main);
    forms->yuangong = new TForm_yuangong(*forms, forms->main);
    forms->down = new TForm_down(*forms, forms->main);
    forms->orders = new TForm_orders(*forms, forms->main);
    forms->takings = new TForm_takings(*forms, forms->main);
    forms->desk_zhuantai = new TForm_desk_zhuantai(*forms, forms->main);
    forms->gaijia = new TForm_gaijia(*forms, forms->main);
    forms->chuda = new TForm_chuda(*forms, forms->main);
    forms->chongzhi = new TForm_chongzhi(*forms, forms->main);
    forms->shop = new TForm_shop(*forms, forms->main);
    forms->shop_orders = new TForm_shop_orders(*forms, forms->main);
    forms->orders_detail = new TForm_orders_detail(*forms, forms->main);
    forms->defaultpay = new TForm_defaultpay(*forms, forms->main);
    forms->backup = new TForm_backup(*forms, forms->main);
    start_print_spool(*forms);
    follow_account(*forms);
    return forms;
}

void follow_account(Forms &forms)
{
    for (MivoDialog *d : std::initializer_list<MivoDialog *>{forms.desk,
                                                             forms.desk_class,
                                                             forms.caipin,
                                                             forms.cp_class,
                                                             forms.member,
                                                             forms.yuangong,
                                                             forms.system,
                                                             forms.backup,
                                                             forms.takings,
                                                             forms.defaultpay})
        d->set_admin_only(true);
    QObject::connect(&forms.ctx.notifier(), &ChangeNotifier::account_changed, forms.main, [&forms] {
        if (signed_in(forms.ctx))
            return;
        // Nobody goes on in what the last person left open: a checkout or recharge
        // hidden gives up its QR payment, the ordering screen drops its choices.
        for (QWidget *w : forms.main->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (w->isWindow() && w->windowType() != Qt::ToolTip) // the toast stays
                w->hide();
    });
}
