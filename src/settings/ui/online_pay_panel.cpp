#include "settings/ui/online_pay_panel.h"

#include "checkout/http_client.h"
#include "checkout/qrpay.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

template<class W> W *named(W *w, const char *name)
{
    w->setObjectName(QLatin1String(name));
    return w;
}

// "关闭…" / "开启…" as one exclusive pair, off checked.
QWidget *switch_pair(QWidget *parent,
                     QRadioButton *&off,
                     QRadioButton *&on,
                     const QString &off_text,
                     const QString &on_text,
                     const char *off_name,
                     const char *on_name)
{
    auto *row = new QWidget(parent);
    auto *h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    off = named(new QRadioButton(off_text, row), off_name);
    on = named(new QRadioButton(on_text, row), on_name);
    auto *group = new QButtonGroup(row);
    group->addButton(off);
    group->addButton(on);
    off->setChecked(true);
    h->addWidget(off);
    h->addWidget(on);
    h->addStretch(1);
    return row;
}

QPlainTextEdit *memo(QWidget *parent, const char *name)
{
    auto *m = named(new QPlainTextEdit(parent), name);
    m->setFixedHeight(56);
    m->setTabChangesFocus(true);
    return m;
}

} // namespace

OnlinePayPanel::OnlinePayPanel(AppContext &ctx, QWidget *parent)
    : QWidget(parent)
    , m_ctx(ctx)
    , m_client(new HttpClient(ctx.paths.log, this))
{
    auto *service = named(new QGroupBox(QStringLiteral("支付服务"), this), "GroupBox_payservice");
    auto *sf = new QFormLayout(service);
    m_url = named(new QLineEdit(service), "Edit_payservice_url");
    m_url->setPlaceholderText(QStringLiteral("例如 http://192.168.1.10:8090"));
    m_username = named(new QLineEdit(service), "Edit_service_username");
    m_password = named(new QLineEdit(service), "Edit_service_password");
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setPlaceholderText(QStringLiteral("不修改请留空"));
    sf->addRow(QStringLiteral("支付服务地址："), m_url);
    sf->addRow(QStringLiteral("服务账号："), m_username);
    sf->addRow(QStringLiteral("服务密码："), m_password);
    m_state = named(new QLabel(service), "Label_online_state");
    m_state->setWordWrap(true);
    sf->addRow(QString(), m_state);

    m_wx = named(new QGroupBox(QStringLiteral("微信在线支付设置"), this), "GroupBox_wxpay");
    auto *wf = new QFormLayout(m_wx);
    wf->addRow(QStringLiteral("微信开关："),
               switch_pair(m_wx,
                           m_wx_off,
                           m_wx_on,
                           QStringLiteral("关闭微信支付"),
                           QStringLiteral("开启微信支付"),
                           "Radio_wx_off",
                           "Radio_wx_on"));
    m_wx_appid = named(new QLineEdit(m_wx), "Edit_wx_appid");
    m_wx_mchid = named(new QLineEdit(m_wx), "Edit_wx_mchid");
    m_wx_paykey = named(new QLineEdit(m_wx), "Edit_wx_paykey");
    wf->addRow(QStringLiteral("APPID："), m_wx_appid);
    wf->addRow(QStringLiteral("MCHID："), m_wx_mchid);
    wf->addRow(QStringLiteral("PAYKEY："), m_wx_paykey);

    m_alipay = named(new QGroupBox(QStringLiteral("支付宝在线支付设置"), this), "GroupBox_alipay");
    auto *af = new QFormLayout(m_alipay);
    af->addRow(QStringLiteral("支付开关："),
               switch_pair(m_alipay,
                           m_alipay_off,
                           m_alipay_on,
                           QStringLiteral("关闭支付宝支付"),
                           QStringLiteral("开启支付宝支付"),
                           "Radio_alipay_off",
                           "Radio_alipay_on"));
    m_alipay_appid = named(new QLineEdit(m_alipay), "Edit_alipay_appid");
    m_alipay_paykey = memo(m_alipay, "Memo_alipay_paykey");
    m_alipay_pubkey = memo(m_alipay, "Memo_alipay_pubkey");
    af->addRow(QStringLiteral("APPID："), m_alipay_appid);
    af->addRow(QStringLiteral("支付宝秘钥："), m_alipay_paykey);
    af->addRow(QStringLiteral("支付宝公钥："), m_alipay_pubkey);

    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(service);
    v->addWidget(m_wx);
    v->addWidget(m_alipay);
    v->addStretch(1);
    set_loaded(false);
}

OnlineSettings OnlinePayPanel::settings() const
{
    OnlineSettings s;
    s.wx_appid = m_wx_appid->text();
    s.wx_mchid = m_wx_mchid->text();
    s.wx_paykey = m_wx_paykey->text();
    s.alipay_appid = m_alipay_appid->text();
    s.alipay_paykey = m_alipay_paykey->toPlainText();
    s.alipay_pubkey = m_alipay_pubkey->toPlainText();
    s.wx_ispay = m_wx_on->isChecked();
    s.alipay_ispay = m_alipay_on->isChecked();
    return s;
}

void OnlinePayPanel::set_settings(const OnlineSettings &s)
{
    m_wx_appid->setText(s.wx_appid);
    m_wx_mchid->setText(s.wx_mchid);
    m_wx_paykey->setText(s.wx_paykey);
    m_alipay_appid->setText(s.alipay_appid);
    m_alipay_paykey->setPlainText(s.alipay_paykey);
    m_alipay_pubkey->setPlainText(s.alipay_pubkey);
    // Both ways: a switch turned off at the service shows off here, so saving other
    // values does not turn it on again.
    (s.wx_ispay ? m_wx_on : m_wx_off)->setChecked(true);
    (s.alipay_ispay ? m_alipay_on : m_alipay_off)->setChecked(true);
}

QString OnlinePayPanel::service_key() const
{
    return pay_service_base(m_ctx.settings) + QLatin1Char('\n') + pay_cookie(m_ctx.service);
}

void OnlinePayPanel::set_state(const QString &text, bool problem)
{
    m_state->setText(text);
    m_state->setStyleSheet(problem ? QStringLiteral("color:#d9001b")
                                   : QStringLiteral("color:#888888"));
}

void OnlinePayPanel::set_loaded(bool loaded)
{
    m_loaded = loaded;
    // Values not read from the service are never sent back to it, so they are not
    // editable either.
    m_wx->setEnabled(loaded);
    m_alipay->setEnabled(loaded);
}

void OnlinePayPanel::read()
{
    const quint64 gen = ++m_generation;
    const QString base = pay_service_base(m_ctx.settings);
    set_loaded(false);
    if (base.isEmpty()) {
        set_state(QStringLiteral("未设置支付服务地址，填写后保存即可读取在线支付设置"), true);
        return;
    }
    set_state(QStringLiteral("正在读取在线支付设置…"), false);
    const QString key = service_key();
    m_client->http_get(
        online_settings_read_url(base),
        pay_cookie(m_ctx.service),
        this,
        [=, this](const QString &body) {
            if (gen != m_generation)
                return;
            const OnlineRead r = read_online_settings(body);
            switch (r.answer) {
            case ServiceAnswer::Ok:
                set_settings(r.settings);
                m_loaded_key = key;
                set_loaded(true);
                set_state(QStringLiteral("已读取支付服务中的在线支付设置"), false);
                break;
            case ServiceAnswer::Unreachable:
                set_state(QStringLiteral("无法连接支付服务，在线支付设置未读取。")
                              + QString::fromUtf8(NetworkMessage),
                          true);
                break;
            case ServiceAnswer::Refused:
                set_state(QStringLiteral("支付服务未给出在线支付设置：")
                              + (r.msg.isEmpty() ? QStringLiteral("请检查服务账号和密码") : r.msg),
                          true);
                break;
            }
        });
}

void OnlinePayPanel::send()
{
    if (pay_service_base(m_ctx.settings).isEmpty() || !m_loaded || m_loaded_key != service_key()) {
        read();
        return;
    }
    const quint64 gen = ++m_generation;
    m_client->http_post(online_settings_save_url(pay_service_base(m_ctx.settings)),
                        pay_cookie(m_ctx.service),
                        online_settings_fields(settings()),
                        this,
                        [=, this](const QString &body) {
                            if (gen != m_generation)
                                return;
                            const OnlineSaved r = read_online_saved(body);
                            if (r.answer == ServiceAnswer::Ok) {
                                set_state(QStringLiteral("在线支付设置已保存到支付服务"), false);
                                return;
                            }
                            const QString why
                                = r.answer == ServiceAnswer::Unreachable
                                      ? QString::fromUtf8(NetworkMessage)
                                      : (r.msg.isEmpty() ? QStringLiteral("支付服务拒绝保存")
                                                         : r.msg);
                            set_state(QStringLiteral("在线支付设置保存失败：") + why, true);
                            emit toastRequested(QStringLiteral("在线支付设置保存失败：") + why);
                        });
}
