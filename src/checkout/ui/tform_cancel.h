#pragma once

#include "app/ui/mivo_dialog.h"
#include "checkout/settlement.h"
#include "ordering/orders.h"

class CheckoutQr;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

// The checkout: the lines of one open order, still correctable in batches, the
// member's discount and balance, a reduction, the payable amount, and settling it.
// It keeps to the order it was opened with, whatever the board selects meanwhile.
class TForm_cancel : public MivoDialog
{
    Q_OBJECT
public:
    TForm_cancel(Forms &forms, QWidget *parent);

    // Shows the order of this table from scratch: lines, amounts, empty inputs, no member.
    void open_with(const QString &desk_id, const QString &order_id);
    QString desk_id() const { return m_desk_id; }
    QString order_id() const { return m_order_id; }

    // The looked-up member; empty when none.
    QString userid;
    double allprice = 0;
    double allzekouprice = 0;
    double allbalance = 0;
    double payprice = 0;

    void getlist();
    void getalprice();
    // Recomputes the payable amount from the input fields and shows it; a negative
    // result is toasted and left off the displays.
    void auto_cal();
    void get_member_info(const QString &mobile);
    void get_desk_info();
    // Ids of the checked rows joined with ",".
    QString get_choose_caipin() const;
    void setpaybutton();

    // Settles the shown order with this pay type; true when it was settled. The
    // online payment calls it too, with the pay type the payment service reports.
    // On a refusal the dialog shows the bill as it now is; settle_result() says why.
    // paid: what an online payment took from the guest; the bill must still come to it.
    bool set_cancal(const QString &paytype, std::optional<double> paid = {});
    const SettleResult &settle_result() const { return m_result; }

public slots:
    // Something changed the table: lines and amounts follow, the inputs stay.
    void on_desk_changed(const QString &desk_id);

protected:
    void changeEvent(QEvent *event) override;

private:
    void build_lines_side();
    void build_pay_side();
    void reload_all();
    void reload_bill();
    void reset_member();
    void search_click();
    void deduction_changed();
    void use_balance_click();
    void batch_click(LineOp op);
    void gaijia_click();
    void all_click(bool checked);
    void line_item_changed(QTableWidgetItem *item);
    void settle_click();
    // Where an online method (WeChat or Alipay QR) takes the bill over.
    void start_online_payment(const QString &method);
    void lock_for_online_payment(bool busy);
    void after_refusal();
    // Reloads lines and amounts when the stored lines differ from the ones shown.
    void refresh_if_changed();

    QString m_desk_id;
    QString m_order_id = NoOrderId;
    CheckoutQr *m_qr = nullptr; // the online payment, made at its first use
    SettleResult m_result;
    QStringList m_shown_lines; // what getlist showed, to notice changes made elsewhere

    QCheckBox *m_all = nullptr;
    QTableWidget *m_list = nullptr;
    QLineEdit *m_mobile = nullptr;
    QLineEdit *m_deduct = nullptr;
    QLineEdit *m_zekou = nullptr;
    QLineEdit *m_jianmian = nullptr;
    QLabel *m_member_zekou = nullptr;
    QLabel *m_member_balance = nullptr;
    QLabel *m_bh = nullptr;
    QLabel *m_addtime = nullptr;
    QLabel *m_fwy = nullptr;
    QLabel *m_nums = nullptr;
    QLabel *m_allprice = nullptr;
    QLabel *m_zkprice = nullptr;
    QLabel *m_jmprice = nullptr;
    QLabel *m_payprice = nullptr;
    QGroupBox *m_paybox = nullptr;
    QPushButton *m_settle = nullptr;
    // Everything besides the inputs that changes the bill or the member.
    QList<QPushButton *> m_bill_buttons;
};
