#include "settings/ui/tform_system.h"

#include "board/ui/tform_main.h"
#include "checkout/qrpay.h"
#include "checkout/ui/tform_defaultpay.h"
#include "printing/print_device.h"
#include "settings/online_settings.h"
#include "settings/ui/online_pay_panel.h"
#include "settings/ui/tform_backup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

QLineEdit *edit(QWidget *parent, const QString &name)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}

QCheckBox *check(QWidget *parent, const QString &text, const QString &name)
{
    auto *c = new QCheckBox(text, parent);
    c->setObjectName(name);
    return c;
}

// An edit with a unit or a note after it.
QWidget *with_note(QWidget *field, const QString &note)
{
    auto *row = new QWidget;
    auto *h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(field, 1);
    auto *l = new QLabel(note, row);
    l->setStyleSheet(QStringLiteral("color:#888888"));
    h->addWidget(l);
    return row;
}

QPushButton *button(QWidget *parent, const QString &text, const QString &name)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setMinimumHeight(32);
    return b;
}

} // namespace

TForm_system::TForm_system(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("系统设置"));
    setObjectName(QStringLiteral("TForm_system"));

    auto *shop = new QGroupBox(QStringLiteral("店铺与打印机"), this);
    shop->setObjectName(QStringLiteral("GroupBox_shop"));
    auto *sf = new QFormLayout(shop);
    m_shopname = edit(shop, QStringLiteral("Edit_shopname"));
    m_shopaddress = edit(shop, QStringLiteral("Edit_shopaddress"));
    m_shoptel = edit(shop, QStringLiteral("Edit_shoptel"));
    sf->addRow(QStringLiteral("店铺名称："), m_shopname);
    sf->addRow(QStringLiteral("店铺地址："), m_shopaddress);
    sf->addRow(QStringLiteral("联系电话："), m_shoptel);
    auto *switches = new QWidget(shop);
    auto *sw = new QHBoxLayout(switches);
    sw->setContentsMargins(0, 0, 0, 0);
    m_is_shopaddress = check(switches, QStringLiteral("小票是否打印地址"), "Check_is_shopaddress");
    m_is_shoptel = check(switches, QStringLiteral("小票是否打印电话"), "Check_is_shoptel");
    m_is_paytime = check(switches, QStringLiteral("是否打印结账时间"), "Check_is_paytime");
    sw->addWidget(m_is_shopaddress);
    sw->addWidget(m_is_shoptel);
    sw->addWidget(m_is_paytime);
    sf->addRow(QString(), switches);
    m_kdprintname = new QComboBox(shop);
    m_kdprintname->setObjectName(QStringLiteral("Combo_kdprintname"));
    m_cdprintname = new QComboBox(shop);
    m_cdprintname->setObjectName(QStringLiteral("Combo_cdprintname"));
    sf->addRow(QStringLiteral("客打打印机："), m_kdprintname);
    sf->addRow(QStringLiteral("厨打打印机："), m_cdprintname);
    const QString pages = QStringLiteral("多出的行数会自动换页打印");
    m_kdprintnums = edit(shop, QStringLiteral("Edit_kdprintnums"));
    m_cdprintnums = edit(shop, QStringLiteral("Edit_cdprintnums"));
    sf->addRow(QStringLiteral("客打打印机每页行数："), with_note(m_kdprintnums, pages));
    sf->addRow(QStringLiteral("厨打打印机每页行数："), with_note(m_cdprintnums, pages));
    m_kdstr = edit(shop, QStringLiteral("Edit_kdstr"));
    m_cdstr = edit(shop, QStringLiteral("Edit_cdstr"));
    sf->addRow(QStringLiteral("客打距离："), with_note(m_kdstr, QStringLiteral("CM")));
    m_kdtop = edit(shop, QStringLiteral("Edit_kdtop"));
    m_kdhj = edit(shop, QStringLiteral("Edit_kdhj"));
    sf->addRow(QStringLiteral("顶部距离："), with_note(m_kdtop, QStringLiteral("CM")));
    sf->addRow(QStringLiteral("行离："), with_note(m_kdhj, QStringLiteral("CM")));
    sf->addRow(QStringLiteral("厨打距离："), with_note(m_cdstr, QStringLiteral("CM")));
    m_cdtop = edit(shop, QStringLiteral("Edit_cdtop"));
    m_cdhj = edit(shop, QStringLiteral("Edit_cdhj"));
    sf->addRow(QStringLiteral("顶部距离："), with_note(m_cdtop, QStringLiteral("CM")));
    sf->addRow(QStringLiteral("行离："), with_note(m_cdhj, QStringLiteral("CM")));

    auto *database = new QGroupBox(QStringLiteral("数据库设置"), this);
    auto *df = new QFormLayout(database);
    m_path = edit(database, QStringLiteral("Edit_path"));
    df->addRow(QStringLiteral("数据库路径："), m_path);
    auto *local = new QLabel(QStringLiteral("*默认使用本地数据库"), database);
    local->setStyleSheet(QStringLiteral("color:#888888"));
    df->addRow(QString(), local);

    auto *sync = new QGroupBox(QStringLiteral("多设备设置"), this);
    auto *yf = new QFormLayout(sync);
    m_time_tb = edit(sync, QStringLiteral("Edit_time_tb"));
    yf->addRow(QStringLiteral("同步频率："), with_note(m_time_tb, QStringLiteral("单位：秒")));
    m_is_time_tb = check(sync, QStringLiteral("是否开启数据同步"), "Check_is_time_tb");
    yf->addRow(QString(), m_is_time_tb);
    auto *multi = new QLabel(QStringLiteral("请在多台设置同时使用时设置"), sync);
    multi->setStyleSheet(QStringLiteral("color:#888888"));
    yf->addRow(QString(), multi);

    auto *paging = new QGroupBox(QStringLiteral("分页设置"), this);
    auto *pf = new QFormLayout(paging);
    m_desk_perpage = edit(paging, QStringLiteral("Edit_desk_perpage"));
    m_caipin_perpage = edit(paging, QStringLiteral("Edit_caipin_perpage"));
    pf->addRow(QStringLiteral("首页桌位："), m_desk_perpage);
    pf->addRow(QStringLiteral("点菜菜品："), m_caipin_perpage);

    auto *fee = new QGroupBox(QStringLiteral("茶位费设置"), this);
    auto *ff = new QFormLayout(fee);
    m_cwf_tit = edit(fee, QStringLiteral("Edit_cwf_tit"));
    m_cwf = edit(fee, QStringLiteral("Edit_cwf"));
    ff->addRow(QStringLiteral("茶位名称："), m_cwf_tit);
    ff->addRow(QStringLiteral("价格："), with_note(m_cwf, QStringLiteral("每位")));

    auto *right = new QVBoxLayout;
    right->addWidget(database);
    right->addWidget(sync);
    right->addWidget(paging);
    right->addWidget(fee);
    right->addStretch(1);

    m_online = new OnlinePayPanel(ctx(), this);
    connect(m_online, &OnlinePayPanel::toastRequested, this, [this](const QString &text) {
        toast(text, 3);
    });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    QPushButton *save = button(this, QStringLiteral("保存设置"), "Button_save");
    QPushButton *pay = button(this, QStringLiteral("默认支付方式设置"), "Button_defaultpay");
    QPushButton *backup = button(this, QStringLiteral("数据库备份设置"), "Button_backup");
    QPushButton *defaults = button(this, QStringLiteral("恢复默认设置"), "Button_defaults");
    buttons->addWidget(save);
    buttons->addWidget(pay);
    buttons->addWidget(defaults);
    buttons->addWidget(backup);

    auto *grid = new QGridLayout(this);
    grid->addWidget(shop, 0, 0);
    grid->addLayout(right, 0, 1);
    grid->addWidget(m_online, 0, 2);
    grid->addLayout(buttons, 1, 0, 1, 3);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(2, 3);
    resize(1280, 700);

    connect(save, &QPushButton::clicked, this, &TForm_system::ClickSave);
    connect(pay, &QPushButton::clicked, this, &TForm_system::ClickDefaultPay);
    connect(backup, &QPushButton::clicked, this, &TForm_system::ClickBackup);
    connect(defaults, &QPushButton::clicked, this, &TForm_system::ClickDefaults);
}

SystemFields TForm_system::fields() const
{
    SystemFields f;
    f.shopname = m_shopname->text();
    f.shopaddress = m_shopaddress->text();
    f.shoptel = m_shoptel->text();
    f.is_shopaddress = m_is_shopaddress->isChecked();
    f.is_shoptel = m_is_shoptel->isChecked();
    f.is_paytime = m_is_paytime->isChecked();
    f.kdprintname = m_kdprintname->currentText();
    f.cdprintname = m_cdprintname->currentText();
    f.kdprintnums = m_kdprintnums->text();
    f.cdprintnums = m_cdprintnums->text();
    f.kdstr = m_kdstr->text();
    f.cdstr = m_cdstr->text();
    f.kdtop = m_kdtop->text();
    f.kdhj = m_kdhj->text();
    f.cdtop = m_cdtop->text();
    f.cdhj = m_cdhj->text();
    f.path = m_path->text();
    f.time_tb = m_time_tb->text();
    f.is_time_tb = m_is_time_tb->isChecked();
    f.desk_perpage = m_desk_perpage->text();
    f.caipin_perpage = m_caipin_perpage->text();
    f.cwf_tit = m_cwf_tit->text();
    f.cwf = m_cwf->text();
    f.payservice_url = m_online->url()->text();
    f.service_username = m_online->username()->text();
    f.service_password = m_online->password()->text();
    return f;
}

void TForm_system::set_fields(const SystemFields &f)
{
    m_shopname->setText(f.shopname);
    m_shopaddress->setText(f.shopaddress);
    m_shoptel->setText(f.shoptel);
    m_is_shopaddress->setChecked(f.is_shopaddress);
    m_is_shoptel->setChecked(f.is_shoptel);
    m_is_paytime->setChecked(f.is_paytime);
    fill_printers(m_kdprintname, f.kdprintname);
    fill_printers(m_cdprintname, f.cdprintname);
    m_kdprintnums->setText(f.kdprintnums);
    m_cdprintnums->setText(f.cdprintnums);
    m_kdstr->setText(f.kdstr);
    m_cdstr->setText(f.cdstr);
    m_kdtop->setText(f.kdtop);
    m_kdhj->setText(f.kdhj);
    m_cdtop->setText(f.cdtop);
    m_cdhj->setText(f.cdhj);
    // An empty stored path leaves what the field held.
    if (!f.path.isEmpty())
        m_path->setText(f.path);
    m_time_tb->setText(f.time_tb);
    m_is_time_tb->setChecked(f.is_time_tb);
    m_desk_perpage->setText(f.desk_perpage);
    m_caipin_perpage->setText(f.caipin_perpage);
    m_cwf_tit->setText(f.cwf_tit);
    m_cwf->setText(f.cwf);
    m_online->url()->setText(f.payservice_url);
    m_online->username()->setText(f.service_username);
    // The stored digest is never shown; a typed password replaces it.
    m_online->password()->clear();
}

void TForm_system::fill_printers(QComboBox *box, const QString &configured)
{
    box->clear();
    box->addItem(no_printer_text());
    if (PrintDevice *device = ctx().print_device())
        box->addItems(device->printers());
    int i = configured.isEmpty() ? 0 : box->findText(configured, Qt::MatchExactly);
    // A name that is no installed printer's (a part of one, or a printer switched
    // off) stays selectable, so saving other settings does not erase it.
    if (i < 0) {
        box->addItem(configured);
        i = box->count() - 1;
    }
    box->setCurrentIndex(i);
}

void TForm_system::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        set_fields(fields_for_showing(ctx()));
        m_online->read();
    }
    MivoDialog::showEvent(event);
}

void TForm_system::ClickSave()
{
    const SettingsSaved out = save_system_settings(ctx(), fields());
    if (!out.refusal.isEmpty()) {
        toast(out.refusal);
        return;
    }
    toast(out.saved);
    m_online->password()->clear();
    // The local settings stand whatever the service answers; a failed online save
    // says so in a toast of its own.
    m_online->send();
}

void TForm_system::ClickDefaults()
{
    const QString base = pay_service_base(ctx().settings);
    if (base.isEmpty()) {
        toast(QString::fromUtf8(NoServiceMessage));
        return;
    }
    m_online->client().http_get(
        default_print_url(base), pay_cookie(ctx().service), this, [this](const QString &body) {
            const DefaultPrint d = read_default_print(body);
            if (d.answer == ServiceAnswer::Unreachable) {
                toast(QString::fromUtf8(NetworkMessage));
                return;
            }
            if (d.answer == ServiceAnswer::Refused) {
                toast(d.msg.isEmpty() ? QStringLiteral("支付服务未给出默认打印参数") : d.msg);
                return;
            }
            // Into the fields only; nothing is kept until "保存设置".
            m_kdstr->setText(d.kdstr);
            m_cdstr->setText(d.cdstr);
            m_kdtop->setText(d.kdtop);
            m_cdtop->setText(d.cdtop);
            m_kdprintnums->setText(d.kdprintnums);
            m_cdprintnums->setText(d.cdprintnums);
            m_kdhj->setText(d.kdhj);
            m_cdhj->setText(d.cdhj);
        });
}

void TForm_system::ClickDefaultPay()
{
    if (m_forms.defaultpay)
        m_forms.defaultpay->open_centred();
}

void TForm_system::ClickBackup()
{
    if (m_forms.backup)
        m_forms.backup->open_centred();
}
