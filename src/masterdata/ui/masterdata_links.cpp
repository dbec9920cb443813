#include "masterdata/ui/masterdata_links.h"

#include "app/ui/box_prompts.h"
#include "app/ui/forms.h"
#include "board/board.h"
#include "board/ui/tform_main.h"
#include "checkout/ui/tform_cancel.h"
#include "checkout/ui/tform_chongzhi.h"
#include "masterdata/ui/tform_caipin.h"
#include "masterdata/ui/tform_cp_class.h"
#include "masterdata/ui/tform_desk.h"
#include "masterdata/ui/tform_desk_class.h"
#include "masterdata/ui/tform_member.h"
#include "masterdata/ui/tform_yuangong.h"
#include "ordering/ui/tform_diancan.h"
#include "staff/ui/tform_modify.h"

namespace {

// The board exists once the main window has been shown the first time.
bool board_built(const TForm_main *main)
{
    return main && main->W() > 0;
}

} // namespace

void link_masterdata(Forms &forms)
{
    TForm_main *main = forms.main;
    TForm_diancan *diancan = forms.diancan;
    TForm_desk *desk = forms.desk;
    TForm_caipin *caipin = forms.caipin;
    AppContext &ctx = forms.ctx;

    QObject::connect(forms.desk_class, &TForm_desk_class::changed, desk, [=, &ctx] {
        guarded(ctx, [&] {
            desk->load_desk_class();
            desk->getlist();
            if (!board_built(main))
                return;
            const QString area = main->selected_area();
            main->load_desk_class();
            // A deleted area no longer filters the board.
            bool known = area.isEmpty() || area == QLatin1String("0");
            for (const DeskClass &c : load_desk_classes(ctx))
                known = known || c.id == area;
            main->desk_class_click(known && !area.isEmpty() ? area : QStringLiteral("0"));
        });
    });
    QObject::connect(desk, &TForm_desk::desks_changed, main, [=, &ctx] {
        if (!board_built(main))
            return;
        guarded(ctx, [&] {
            const QString selected = ctx.desk_id;
            main->reload_board();
            main->get_tongji_info();
            main->reselect_after_rebuild(selected);
        });
    });
    QObject::connect(forms.cp_class, &TForm_cp_class::changed, diancan, [=, &ctx] {
        guarded(ctx, [&] {
            diancan->load_caipin_class();
            caipin->load_caipin_class();
        });
    });
    QObject::connect(caipin, &TForm_caipin::dishes_changed, diancan, [=, &ctx] {
        guarded(ctx, [&] {
            diancan->load_caipin_class();
            diancan->load_caipin();
        });
    });
    // The open lists and the ordering screen drop the demonstration tables and dishes.
    QObject::connect(main, &TForm_main::demo_data_deleted, desk, [=, &ctx] {
        guarded(ctx, [&] {
            for (ListScreen *s :
                 {static_cast<ListScreen *>(desk), static_cast<ListScreen *>(caipin)})
                if (s->isVisible())
                    s->getlist();
            diancan->load_caipin_class();
            diancan->load_caipin();
        });
    });
    // An open employees list shows a name changed under "修改资料".
    TForm_yuangong *staff = forms.yuangong;
    QObject::connect(forms.modify, &TForm_modify::profile_saved, staff, [=, &ctx] {
        if (staff->isVisible())
            guarded(ctx, [&] { staff->getlist(); });
    });
    // A recharge, or a bill paid from a balance, shows in the members list at once.
    TForm_member *member = forms.member;
    QObject::connect(forms.chongzhi,
                     &TForm_chongzhi::memberChanged,
                     member,
                     &TForm_member::follow_balance_change);
    QObject::connect(
        forms.cancel, &TForm_cancel::desk_changed, member, &TForm_member::follow_balance_change);
}
