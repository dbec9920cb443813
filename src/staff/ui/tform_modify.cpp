#include "staff/ui/tform_modify.h"

#include "app/start_failure.h"
#include "app/ui/box_prompts.h"
#include "staff/profile.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TForm_modify::TForm_modify(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("个人资料修改"));
    setObjectName(QStringLiteral("TForm_modify"));
    setFixedSize(400, 230);

    auto *l1 = new QLabel(QStringLiteral("真实姓名："), this);
    l1->setGeometry(40, 30, 80, 30);
    m_truename = new QLineEdit(this);
    m_truename->setObjectName(QStringLiteral("truename"));
    m_truename->setGeometry(120, 30, 230, 30);

    auto *l2 = new QLabel(QStringLiteral("新的密码："), this);
    l2->setGeometry(40, 75, 80, 30);
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("password"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setPlaceholderText(QStringLiteral("小于6位字符表示不修改密码"));
    m_password->setGeometry(120, 75, 230, 30);

    auto *l3 = new QLabel(QStringLiteral("我的权限："), this);
    l3->setGeometry(40, 120, 80, 30);
    m_role = new QLabel(this);
    m_role->setObjectName(QStringLiteral("role"));
    m_role->setGeometry(120, 120, 230, 30);

    auto *button = new QPushButton(QStringLiteral("保存修改"), this);
    button->setObjectName(QStringLiteral("save"));
    button->setGeometry(120, 170, 160, 36);
    connect(button, &QPushButton::clicked, this, &TForm_modify::save);
}

void TForm_modify::showEvent(QShowEvent *event)
{
    MivoDialog::showEvent(event);
    guarded(ctx(), [&] {
        const Profile p = load_profile(ctx());
        if (!p.found)
            return;
        m_truename->setText(p.truename);
        m_role->setText(p.role);
    });
}

void TForm_modify::save()
{
    guarded(ctx(), [&] {
        bool remembered = true;
        const QString message
            = save_profile(ctx(), m_truename->text(), m_password->text(), &remembered);
        if (!remembered)
            ctx().prompts().warning(profile_not_remembered_text(ctx().paths));
        else if (!message.isEmpty())
            toast(message);
    });
}
