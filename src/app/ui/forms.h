#pragma once

#include "app/context.h"

#include <QString>

#include <memory>

class QWidget;
class Toast;
class TForm_main;
class TForm_desk;
class TForm_diancan;
class TForm_caipin;
class TForm_system;
class TForm_about;
class TForm_modify;
class TForm_member;
class TForm_cp_class;
class TForm_caipin_zuofa;
class TForm_desk_class;
class TForm_cancel;
class TForm_desk_zt;
class TForm_yuangong;
class TForm_down;
class TForm_orders;
class TForm_takings;
class TForm_desk_zhuantai;
class TForm_gaijia;
class TForm_chuda;
class TForm_chongzhi;
class TForm_shop;
class TForm_shop_orders;
class TForm_orders_detail;
class TForm_defaultpay;
class TForm_backup;

// Every window of the program: created once at start-up, in this order, and kept
// for the whole run. The menu opens windows through it, and tests reach them; a
// change travels between windows only through the notifier (ctx.notifier()).
struct Forms
{
    explicit Forms(AppContext &context);
    ~Forms();
    Forms(const Forms &) = delete;
    Forms &operator=(const Forms &) = delete;

    AppContext &ctx;
    Toast *toast = nullptr;
    TForm_main *main = nullptr;
    TForm_desk *desk = nullptr;
    TForm_diancan *diancan = nullptr;
    TForm_caipin *caipin = nullptr;
    TForm_system *system = nullptr;
    TForm_about *about = nullptr;
    TForm_modify *modify = nullptr;
    TForm_member *member = nullptr;
    TForm_cp_class *cp_class = nullptr;
    TForm_caipin_zuofa *caipin_zuofa = nullptr;
    TForm_desk_class *desk_class = nullptr;
    TForm_cancel *cancel = nullptr;
    TForm_desk_zt *desk_zt = nullptr;
    TForm_yuangong *yuangong = nullptr;
    TForm_down *down = nullptr;
    TForm_orders *orders = nullptr;
    TForm_takings *takings = nullptr;
    TForm_desk_zhuantai *desk_zhuantai = nullptr;
    TForm_gaijia *gaijia = nullptr;
    TForm_chuda *chuda = nullptr;
    TForm_chongzhi *chongzhi = nullptr;
    TForm_shop *shop = nullptr;
    TForm_shop_orders *shop_orders = nullptr;
    TForm_orders_detail *orders_detail = nullptr;
    TForm_defaultpay *defaultpay = nullptr;
    TForm_backup *backup = nullptr;
};

// Creates every window in start-up order. The main window's creation runs the
// start-up steps in program_folder.
std::unique_ptr<Forms> create_forms(AppContext &ctx, const QString &program_folder);

// Signing out hides every window but the main window (its login box stays), and the
// screens of the administrators open for the administrators only.
void follow_account(Forms &forms);

// The toast over a window (seconds <= 0 means 2).
void show_toast(Forms &forms, const QString &text, int seconds, QWidget *window);
