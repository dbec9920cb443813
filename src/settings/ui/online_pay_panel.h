#pragma once

#include "settings/online_settings.h"

#include <QWidget>

class HttpClient;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QGroupBox;

// The settings window's part for the payment service: its address and account
// (saved with the local settings) and the online payment settings the service keeps.
// Requests never block; their answers arrive from the event loop.
class OnlinePayPanel : public QWidget
{
    Q_OBJECT
public:
    OnlinePayPanel(AppContext &ctx, QWidget *parent);

    OnlineSettings settings() const;
    void set_settings(const OnlineSettings &s);

    QLineEdit *url() const { return m_url; }
    QLineEdit *username() const { return m_username; }
    QLineEdit *password() const { return m_password; }
    HttpClient &client() const { return *m_client; }

    // Reads the online settings from the service saved in the settings. The fields
    // keep their content unless the service answers with them.
    void read();
    // Sends the fields to the service, when they were read from the same service and
    // account; after a change of either, reads what that service holds instead.
    void send();
    bool loaded() const { return m_loaded; }

signals:
    void toastRequested(const QString &text);

private:
    QString service_key() const;
    void set_state(const QString &text, bool problem);
    void set_loaded(bool loaded);

    AppContext &m_ctx;
    HttpClient *m_client = nullptr;
    QLineEdit *m_url = nullptr;
    QLineEdit *m_username = nullptr;
    QLineEdit *m_password = nullptr;
    QLabel *m_state = nullptr;
    QGroupBox *m_wx = nullptr;
    QGroupBox *m_alipay = nullptr;
    QRadioButton *m_wx_off = nullptr;
    QRadioButton *m_wx_on = nullptr;
    QLineEdit *m_wx_appid = nullptr;
    QLineEdit *m_wx_mchid = nullptr;
    QLineEdit *m_wx_paykey = nullptr;
    QRadioButton *m_alipay_off = nullptr;
    QRadioButton *m_alipay_on = nullptr;
    QLineEdit *m_alipay_appid = nullptr;
    QPlainTextEdit *m_alipay_paykey = nullptr;
    QPlainTextEdit *m_alipay_pubkey = nullptr;
    // The fields hold what the service of this key (address and account) answered.
    bool m_loaded = false;
    QString m_loaded_key;
    // Answers of requests overtaken by a later one are dropped.
    quint64 m_generation = 0;
};
