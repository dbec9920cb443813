#pragma once

#include "app/ui/mivo_dialog.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QrPanel;
struct CheckAnswer;

// Member recharge: tops up one member's balance with any payment method. Offline
// methods credit at once; the online ones credit when the payment service reports the
// QR payment paid. The dialog stays open after a recharge.
class TForm_chongzhi : public MivoDialog
{
    Q_OBJECT
public:
    TForm_chongzhi(Forms &forms, QWidget *parent);

    // Shows the dialog for the member with this lumo_member id.
    void open_with(const QString &member_id);

    QString uid;
    QString mobile;
    QString truename;

    QrPanel *qrPanel() const { return m_panel; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setpaybutton();
    void submit_click();
    void on_paid(const CheckAnswer &answer);
    void set_busy(bool busy);

    QLabel *m_account = nullptr;
    QLabel *m_name = nullptr;
    QLineEdit *m_amount = nullptr;
    QGroupBox *m_methods = nullptr;
    QPushButton *m_submit = nullptr;
    QrPanel *m_panel = nullptr;
    // The member and amount of the online payment under way.
    QString m_pay_uid;
    QString m_pay_amount;
};
