#pragma once

#include "checkout/qrpay.h"

#include <QFrame>
#include <QImage>

struct Forms;
class QLabel;
class QPushButton;

// The QR code of a payment link, one pixel per module, stretched to a square of side
// pixels; a null image when the link has no code.
QImage DrawBar(const QString &link, int side = 280);

// The QR payment panel of a dialog: asks the payment service for a payment, shows its
// link as a QR code and polls until the service reports it paid. Hiding the panel, or
// the dialog it sits on, ends the polling; the dialog decides what "paid" does.
class QrPanel : public QFrame
{
    Q_OBJECT
public:
    QrPanel(Forms &forms, QWidget *parent);

    // Starts an online payment, WeChat Pay or Alipay by request.isalipay; the amount
    // caption is shown after "您需支付：". A refusal or a failure is shown as a toast
    // and leaves the panel hidden.
    void wxpay(const PayRequest &request, const QString &amount_caption);
    void setAmountCaption(const QString &caption);
    // Hides the panel; the payment is abandoned here, not at the service.
    void close_panel();

    // While true the dialog's amount must not change: a create request is on its way or
    // a code is shown.
    bool busy() const { return m_payment.creating() || isVisible(); }

    QrPayment &payment() { return m_payment; }
    const QImage &image() const { return m_image; }

signals:
    void paid(const CheckAnswer &answer);
    void busyChanged(bool busy);

protected:
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void show_code(const CreateAnswer &answer);

    Forms &m_forms;
    QrPayment m_payment;
    QString m_isalipay;
    QImage m_image;
    QLabel *m_title = nullptr;
    QLabel *m_code = nullptr;
    QLabel *m_amount = nullptr;
};
