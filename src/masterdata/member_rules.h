#pragma once

#include "app/context.h"
#include "masterdata/class_rules.h"
#include "masterdata/list_page.h"

#include <QString>

// The members screen's rules: the list and its keyword, the discount in 折, the
// save checks and the soft delete.

// Listed members (stat 0), newest first. An 11-digit keyword finds the member with
// exactly that mobile number; any other keyword searches names.
ListQuery member_list_query();

// A stored discount (hundredths of 折) as guests read it: 1000 → "10", 850 → "8.5",
// 888 → "8.88".
QString zekou_text(const QString &stored);

// A discount typed in 折, read into hundredths; refusal is set when it is refused.
struct Discount
{
    int value = 0;
    QString refusal;
};
// "" means 10 折. Refusals: "折扣输入错误，请检查" (not a number),
// "折扣设置超过10了，请检查", "折扣设置低于1了，请检查".
Discount member_discount(const QString &text);

struct MemberEdit
{
    bool found = false;
    QString mobile, truename;
    QString zekou;   // "%.2f" in 折: 1000 → "10.00"
    QString balance; // "￥" + the balance with two decimals
};
MemberEdit read_member(const AppContext &ctx, const QString &id);

// The editor's texts as typed; an empty edit_id adds.
struct MemberForm
{
    QString edit_id;
    QString mobile;
    QString name;
    QString discount;
};
// Checks in order ("请输入会员手机号", "请输入姓名", "请输入正确的手机号",
// "会员号手机号已存在，请确认" counting deleted members, then the discount), then
// add_member. The mobile number is kept as typed text.
SaveOutcome save_member(AppContext &ctx, const MemberForm &form);

// Adds (empty edit id) or updates a member; sets uptime (and addtime when adding).
// Toast "会员信息录入成功" / "会员信息修改成功"; RecordGoneText when the edited
// member is gone; "会员号手机号已存在，请确认" when the number is taken by then.
SaveOutcome add_member(AppContext &ctx,
                       const QString &edit_id,
                       const QString &mobile,
                       const QString &name,
                       int discount);

// Hides a member (stat 4); the row and its mobile number stay.
void delete_member(AppContext &ctx, const QString &id);
