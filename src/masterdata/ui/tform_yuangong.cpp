#include "masterdata/ui/tform_yuangong.h"

#include "app/helpers.h"
#include "app/notifier.h"
#include "app/ui/box_prompts.h"
#include "masterdata/staff_rules.h"
#include "staff/sign_in.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

ListScreenConfig staff_config()
{
    ListScreenConfig c;
    c.object_name = QStringLiteral("TForm_yuangong");
    c.caption = QStringLiteral("员工设置");
    c.size = QSize(1000, 600);
    c.columns = {ListColumn::text(QStringLiteral("编号"), 50, "#"),
                 ListColumn::text(QStringLiteral("登录账号"), 0, "username"),
                 ListColumn::text(QStringLiteral("真实姓名"), 100, "truename"),
                 ListColumn::text(QStringLiteral("是否在职"), 80, "isjob"),
                 ListColumn::made(QStringLiteral("添加时间"),
                                  140,
                                  [](const ListPage &p, int r) {
                                      return format_time(p.cell(r, QStringLiteral("addtime")));
                                  }),
                 ListColumn::made(QStringLiteral("权限"),
                                  80,
                                  [](const ListPage &p, int r) {
                                      return role_name(p.cell(r, QStringLiteral("tid")));
                                  }),
                 ListColumn::icon(QStringLiteral("编辑"), ListColumn::EditIcon),
                 ListColumn::icon(QStringLiteral("删除"), ListColumn::DeleteIcon)};
    c.query = staff_list_query();
    c.first_panel = QStringLiteral("新增员工");
    c.first_button = QStringLiteral("新增员工保存");
    c.add_panel = QStringLiteral("添加员工");
    c.add_button = QStringLiteral("新增员工保存");
    c.edit_panel = QStringLiteral("编辑员工信息");
    c.edit_button = QStringLiteral("编辑员工信息保存");
    return c;
}

} // namespace

TForm_yuangong::TForm_yuangong(Forms &forms, QWidget *parent)
    : ListScreen(forms, parent, staff_config())
{
    m_username = add_field(QStringLiteral("登录账号："), QStringLiteral("LabeledEdit2"), 40);
    m_password = add_field(QStringLiteral("登录密码："), QStringLiteral("LabeledEdit3"), 90);
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setStyleSheet(QStringLiteral("lineedit-password-character: 42")); // "*"
    m_password->setPlaceholderText(QStringLiteral("默认密码804731"));
    m_truename = add_field(QStringLiteral("真实姓名："), QStringLiteral("LabeledEdit4"), 140);

    auto *label = new QLabel(QStringLiteral("员工权限："), editor());
    label->setGeometry(10, 190, 80, 30);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_role = new QComboBox(editor());
    m_role->setObjectName(QStringLiteral("ComboBox1"));
    m_role->setGeometry(94, 190, 180, 30);
    m_code = new QComboBox(editor());
    m_code->setObjectName(QStringLiteral("ComboBox2"));
    m_code->hide();
    for (const char *code : {"1", "3", "5", "9"}) {
        m_role->addItem(role_name(QLatin1String(code)));
        m_code->addItem(QLatin1String(code));
    }
    connect(m_role, &QComboBox::currentIndexChanged, m_code, &QComboBox::setCurrentIndex);

    auto *help = new QLabel(
        QStringLiteral(
            "新建账号密码如小于6位将使用默认密码804731，修改时密码小于6位代表不修改密码"),
        editor());
    help->setObjectName(QStringLiteral("Label1"));
    help->setWordWrap(true);
    help->setGeometry(10, 320, 266, 60);
    // The next person at the counter finds no login name or password typed here.
    connect(&ctx().notifier(), &ChangeNotifier::account_changed, this, [this] {
        if (signed_in(ctx()))
            return;
        m_username->clear();
        m_password->clear();
        m_truename->clear();
        seteditstat(0, QString());
    });
    // An open list shows a name changed under "修改资料".
    connect(&ctx().notifier(), &ChangeNotifier::staff_changed, this, [this] {
        if (isVisible())
            guarded(ctx(), [&] { getlist(); });
    });
}

void TForm_yuangong::choose_combox(const QString &code)
{
    const int i = m_code->findText(code.trimmed());
    if (i >= 0)
        m_role->setCurrentIndex(i);
}

void TForm_yuangong::set_edit(int isedit, const QString &id)
{
    // The password field is left as typed in both modes.
    if (isedit != 1) {
        m_username->clear();
        m_truename->clear();
        choose_combox(QStringLiteral("1"));
        return;
    }
    const StaffEdit e = read_staff(ctx(), id);
    if (!e.found) {
        toast(RecordGoneText);
        return;
    }
    m_username->setText(e.username);
    m_truename->setText(e.truename);
    choose_combox(e.tid);
}

void TForm_yuangong::save()
{
    const SaveOutcome r = save_staff(ctx(),
                                     {edit_id(),
                                      m_username->text(),
                                      m_password->text(),
                                      m_truename->text(),
                                      m_code->currentText()});
    toast(r.message);
    if (r.saved)
        getlist();
}

void TForm_yuangong::mydel(const QString &id)
{
    const QString refusal = delete_staff(ctx(), id);
    if (!refusal.isEmpty()) {
        toast(refusal);
        return;
    }
    getlist();
}
