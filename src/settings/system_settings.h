#pragma once

#include "app/context.h"

#include <QString>

// The texts and switches of the settings window, as typed.
struct SystemFields
{
    QString shopname;
    QString shopaddress;
    QString shoptel;
    bool is_shopaddress = false;
    bool is_shoptel = false;
    bool is_paytime = false;
    // Drop-down texts; "请选择打印机" means none.
    QString kdprintname;
    QString cdprintname;
    QString kdprintnums;
    QString cdprintnums;
    QString kdstr;
    QString cdstr;
    QString kdtop;
    QString kdhj;
    QString cdtop;
    QString cdhj;
    QString path;
    QString time_tb;
    bool is_time_tb = false;
    QString desk_perpage;
    QString caipin_perpage;
    QString cwf_tit;
    QString cwf;
    // How this program reaches the payment service: [Payservice] url, and the account
    // of the cookie. The password is typed only to change it; empty keeps the stored one.
    QString payservice_url;
    QString service_username;
    QString service_password;
};

// First entry of both printer drop-downs.
QString no_printer_text();

// What the window shows when it opens: the file re-read (when it exists) over the
// in-memory settings. The page sizes, tableware title and fee in memory take the
// values read. The database in use does not change.
SystemFields fields_for_showing(AppContext &ctx);

struct SettingsSaved
{
    // Empty when saved; otherwise the toast, and nothing was written.
    QString refusal;
    // The toast after a successful save.
    QString saved;
};

// Checks in order, updates the in-memory settings and writes info.ini.
// The printer names and the three receipt switches take effect in memory even
// when a later check refuses the save.
SettingsSaved save_system_settings(AppContext &ctx, const SystemFields &f);

// Why a database path cannot be used; empty when it can (empty path: the local file).
QString database_path_problem(const QString &path);
