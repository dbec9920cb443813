#pragma once

#include "app/context.h"
#include "masterdata/class_rules.h"
#include "masterdata/list_page.h"

#include <QString>

// The employees screen's rules: the list by login name, the save checks, the
// password and salt handling and the reserved account 1.

// Accounts newest first; the keyword searches login names.
ListQuery staff_list_query();

// Used for a new account whose password is shorter than 6 characters.
inline const QString DefaultPassword = QStringLiteral("804731");

struct StaffEdit
{
    bool found = false;
    QString username, truename, tid;
};
StaffEdit read_staff(const AppContext &ctx, const QString &id);

// The editor's texts as typed; an empty edit_id adds. role is the role code.
inline const QString SuperAdminRoleText = QStringLiteral("超级管理员账号的权限只能是管理员");

struct StaffForm
{
    QString edit_id;
    QString username;
    QString password;
    QString truename;
    QString role;
};
// Checks in order: editing by anyone but account 1 → "请使用超级管理员权限来操作";
// "请输入员工账号"; "员工账号只支持字母数字和下划线"; "请输入员工姓名";
// "员工账号已存在，请确认" (letter case counts); then writes. A new account with a
// password shorter than 6 gets DefaultPassword and a fresh 10-letter salt; an
// edit with 6 or more characters changes the password and keeps the salt.
// "员工信息录入成功" / "员工信息修改成功"; RecordGoneText when the account is gone.
// Account 1 keeps the administrator role (SuperAdminRoleText).
SaveOutcome save_staff(AppContext &ctx, const StaffForm &form);

// Removes an account; account 1 is refused with "系统保留账号，不能删除".
// Returns the refusal, empty when deleted.
QString delete_staff(AppContext &ctx, const QString &id);
