#pragma once

#include "board/ui/tform_main.h"
#include "printing/recording_device.h"
#include "support/fixtures.h"
#include "support/ui/guikit.h"

#include <QFrame>

// A counter with tables 01 .. desks and a recording device offering the receipt
// printer "Receipt_80" and the kitchen printer "Kitchen_80", as the settings name
// them. show_board() shows the board once the test has filled what it needs.
template<class Device = RecordingPrintDevice> class PrintCounter : public GuiProgram
{
public:
    explicit PrintCounter(int desks)
    {
        auto d = std::make_shared<Device>();
        d->installed = {"Receipt_80", "Kitchen_80"};
        device = d.get();
        ctx.setPrintDevice(d);
        ctx.settings.kdprintname = "Receipt";
        ctx.settings.cdprintname = "Kitchen";
        add_desks(*this, desks);
    }
    void show_board() const
    {
        forms->main->set_board_size(QSize(1600, 1000));
        forms->main->show();
    }
    // Clicks the main menu's entry with this id.
    void menu(int id) const
    {
        click(forms->main->findChild<QFrame *>(QStringLiteral("menu_box_%1").arg(id)));
    }
    // Every text the printer drew, in order.
    QStringList printed() const
    {
        QStringList out;
        for (const RecordingPrintDevice::Text &t : device->texts)
            out << t.text;
        return out;
    }

    Device *device = nullptr;
};
