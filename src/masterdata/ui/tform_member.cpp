#include "masterdata/ui/tform_member.h"

#include "app/helpers.h"
#include "app/notifier.h"
#include "app/ui/box_prompts.h"
#include "checkout/ui/tform_chongzhi.h"
#include "masterdata/member_rules.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

ListScreenConfig member_config()
{
    ListScreenConfig c;
    c.object_name = QStringLiteral("TForm_member");
    c.caption = QStringLiteral("会员管理");
    c.size = QSize(1000, 600);
    c.columns = {ListColumn::text(QStringLiteral("编号"), 50, "#"),
                 ListColumn::text(QStringLiteral("会员姓名"), 0, "truename"),
                 ListColumn::text(QStringLiteral("会员手机号"), 100, "mobile"),
                 ListColumn::made(QStringLiteral("添加时间"),
                                  140,
                                  [](const ListPage &p, int r) {
                                      return format_time(p.cell(r, QStringLiteral("addtime")));
                                  }),
                 ListColumn::made(QStringLiteral("折扣"),
                                  50,
                                  [](const ListPage &p, int r) {
                                      return zekou_text(p.cell(r, QStringLiteral("zekou")));
                                  }),
                 ListColumn::made(QStringLiteral("余额"),
                                  50,
                                  [](const ListPage &p, int r) {
                                      return format_money(
                                          p.cell(r, QStringLiteral("balance")).toDouble());
                                  }),
                 ListColumn::icon(QStringLiteral("充值"), ListColumn::ActionIcon),
                 ListColumn::icon(QStringLiteral("编辑"), ListColumn::EditIcon),
                 ListColumn::icon(QStringLiteral("删除"), ListColumn::DeleteIcon)};
    c.columns.last().align = Qt::AlignRight;
    // A balance is money the guest has paid in: shown whole up to six-figure sums.
    c.columns[5].fits = QStringLiteral("000000.00");
    c.query = member_list_query();
    c.first_panel = QStringLiteral("新增会员");
    c.first_button = QStringLiteral("新增会员保存");
    c.add_panel = QStringLiteral("添加会员");
    c.add_button = QStringLiteral("新增会员保存");
    c.edit_panel = QStringLiteral("编辑会员信息");
    c.edit_button = QStringLiteral("编辑会员信息保存");
    return c;
}

} // namespace

TForm_member::TForm_member(Forms &forms, QWidget *parent)
    : ListScreen(forms, parent, member_config())
{
    m_mobile = add_field(QStringLiteral("会员手机："), QStringLiteral("LabeledEdit2"), 40);
    m_name = add_field(QStringLiteral("真实姓名："), QStringLiteral("LabeledEdit3"), 90);
    m_discount = add_field(QStringLiteral("会员折扣："), QStringLiteral("LabeledEdit4"), 140);
    m_discount->setText(QStringLiteral("10"));

    auto *label = new QLabel(QStringLiteral("账户余额："), editor());
    label->setGeometry(10, 190, 80, 30);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_balance = new QLabel(QStringLiteral("￥0.00"), editor());
    m_balance->setObjectName(QStringLiteral("Label3"));
    m_balance->setGeometry(94, 190, 180, 30);

    auto *help = new QLabel(
        QStringLiteral("会员折扣为10折表示不打折，9代表9折，8.88代表8.88折，最少设置1折起"),
        editor());
    help->setObjectName(QStringLiteral("Label1"));
    help->setWordWrap(true);
    help->setGeometry(10, 320, 266, 60);
    // A recharge, a bill paid from a balance, a member saved elsewhere.
    connect(&ctx().notifier(),
            &ChangeNotifier::member_changed,
            this,
            &TForm_member::follow_balance_change);
}

void TForm_member::set_edit(int isedit, const QString &id)
{
    if (isedit != 1) {
        m_mobile->clear();
        m_name->clear();
        m_discount->clear();
        m_balance->setText(QStringLiteral("￥0.00"));
        return;
    }
    const MemberEdit m = read_member(ctx(), id);
    if (!m.found) {
        toast(RecordGoneText);
        return;
    }
    m_mobile->setText(m.mobile);
    m_name->setText(m.truename);
    m_discount->setText(m.zekou);
    m_balance->setText(m.balance);
}

void TForm_member::follow_balance_change()
{
    if (!isVisible())
        return;
    guarded(ctx(), [&] {
        getlist();
        reload_balance();
    });
}

void TForm_member::show_step()
{
    getlist();
    reload_balance();
}

void TForm_member::reload_balance()
{
    if (!editing())
        return;
    const MemberEdit m = read_member(ctx(), edit_id());
    if (m.found)
        m_balance->setText(m.balance);
}

void TForm_member::save()
{
    const SaveOutcome r
        = save_member(ctx(), {edit_id(), m_mobile->text(), m_name->text(), m_discount->text()});
    toast(r.message);
    if (r.saved)
        getlist();
}

void TForm_member::mydel(const QString &id)
{
    delete_member(ctx(), id);
    getlist();
}

void TForm_member::action_click(int, const QString &id)
{
    m_forms.chongzhi->open_with(id);
}
