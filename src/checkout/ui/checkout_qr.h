#pragma once

#include <QObject>
#include <QString>

#include <functional>

struct Forms;
struct CheckAnswer;
class QrPanel;
class QWidget;

// The online payment of a checkout: pays one order by QR code and, when the service
// reports it paid, settles that order and no other, whatever the dialog shows by then.
// The checkout supplies the settlement; this decides when it may run.
class CheckoutQr : public QObject
{
    Q_OBJECT
public:
    // The panel is placed on dialog; the payment ends when dialog is hidden.
    CheckoutQr(Forms &forms, QWidget *dialog);

    // Settles order_id with the pay type the service reported; true on success.
    using Settle = std::function<bool(const QString &order_id, const QString &paytype)>;
    void setSettle(Settle settle) { m_settle = std::move(settle); }

    // Pays the order of the table online: method "1" WeChat, "2" Alipay; payprice is
    // what the guest pays, allprice the order amount. Refusals and failures are shown
    // as toasts; nothing is settled until the service reports the payment.
    void pay_order(const QString &desk_id,
                   const QString &order_id,
                   const QString &method,
                   double payprice,
                   double allprice);

    QrPanel *panel() const { return m_panel; }
    // The amount the code asks the guest for.
    double asked() const { return m_payprice; }
    // True while the amounts must stay as they are (request on its way or code shown).
    bool busy() const;

signals:
    // The order was settled by its online payment; the table is free.
    void settled(const QString &desk_id, const QString &order_id);
    void busyChanged(bool busy);

private:
    void on_paid(const CheckAnswer &answer);

    Forms &m_forms;
    QrPanel *m_panel = nullptr;
    Settle m_settle;
    QString m_desk_id;
    QString m_order_id;
    double m_payprice = 0;
};
