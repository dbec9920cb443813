#pragma once

#include "app/context.h"
#include "checkout/http_client.h"

#include <QString>

// The shop's online payment settings live at the payment service, not here: the
// settings window reads them when it shows and sends them back on saving.

struct OnlineSettings
{
    QString wx_appid;
    QString wx_mchid;
    QString wx_paykey;
    QString alipay_appid;
    QString alipay_paykey;
    QString alipay_pubkey;
    bool wx_ispay = false;
    bool alipay_ispay = false;
};

QString online_settings_read_url(const QString &base);
QString online_settings_save_url(const QString &base);
QString default_print_url(const QString &base);

// What an answer of the service came to.
enum class ServiceAnswer {
    Ok,
    Unreachable, // no answer, or an answer without "status"
    Refused,     // "status" other than 1; msg says why
};

struct OnlineRead
{
    ServiceAnswer answer = ServiceAnswer::Unreachable;
    QString msg;
    OnlineSettings settings;
};
OnlineRead read_online_settings(const QString &text);

// The save request's form: the eight values in the service's order, every text
// trimmed and without single quotes, the switches as "1" or "0".
FormFields online_settings_fields(const OnlineSettings &s);

// Answer of the save request.
struct OnlineSaved
{
    ServiceAnswer answer = ServiceAnswer::Unreachable;
    QString msg;
};
OnlineSaved read_online_saved(const QString &text);

// The service's default print layout for the window's fields; filled only when Ok.
struct DefaultPrint
{
    ServiceAnswer answer = ServiceAnswer::Unreachable;
    QString msg;
    QString kdstr;
    QString cdstr;
    QString kdtop;
    QString cdtop;
    QString kdprintnums;
    QString cdprintnums;
    QString kdhj;
    QString cdhj;
};
DefaultPrint read_default_print(const QString &text);

// Why a service address cannot be used; empty when it can (empty: none set).
QString payservice_url_problem(const QString &url);

// The service account as stored: the name and the MD5 digest of the password. An
// empty password keeps the stored digest. Throws ESQLiteException when the store fails.
void save_service_account(AppContext &ctx, const QString &username, const QString &password);
