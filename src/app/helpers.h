#pragma once

#include "app/context.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// ---- Code tables ----
QString role_name(const QString &value);
QString line_stat_name(const QString &value);
QString desk_stat_name(const QString &value);
QString pay_type_name(const QString &value);

// ---- Text and number checks ----
bool is_int_text(const QString &text);
bool is_num_text(const QString &text);
bool is_decimal_text(const QString &text);
// At most one "."; otherwise warns "请检查小数点输入是否正确！" and returns false.
bool check_one_point(const QString &text, Prompts &prompts);
bool is_letters(const QString &text);
bool is_user_name(const QString &text);

// Value of a number text as is_int_text / is_num_text accept it; 0 otherwise.
double num_value(const QString &text);
// Whole number of an is_int_text text; def otherwise.
qint64 int_value(const QString &text, qint64 def = 0);

// ---- Text utilities ----
QString strip_quotes(const QString &text);
QStringList split_text(const QString &text, const QString &separator);
QString text_between(const QString &text, const QString &start, const QString &end);
QString format_num(const QString &text, int decimals);
QString format_money(double value); // "%.2f"
// Row number of a list: "01" to "09", then "10", "11" and on.
QString line_number(int n);

// ---- Time, numbers and identities ----
qint64 unix_now_secs(const Clock &clock);
QString unix_now(const Clock &clock);
// Stored seconds as "yyyy-mm-dd hh:mm"; empty for empty text or "0".
QString format_time(const QString &seconds);
QString make_ordid(const Clock &clock, Random &random, const QString &infix);
QString random_letters(Random &random, int n);
QString md5_hex(const QByteArray &bytes);
QString pass_digest(const QString &password, const QString &salt);

// ---- Database helpers ----
QString get_desk_field(const AppContext &ctx, const QString &desk_id, const QString &column);
bool check_login(AppContext &ctx, const QString &username, const QString &digest);

// ---- Files ----
bool force_folder(const QString &path);
bool write_text_file(const QString &text, const QString &path);
