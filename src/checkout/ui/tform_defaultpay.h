#pragma once

#include "app/ui/mivo_dialog.h"

class QGroupBox;
class QPushButton;

// Chooses the payment method the payment screens start with ([Config] defaultpay).
class TForm_defaultpay : public MivoDialog
{
    Q_OBJECT
public:
    TForm_defaultpay(Forms &forms, QWidget *parent);

    void setpaybutton();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void save_click();

    QGroupBox *m_box = nullptr;
    QPushButton *m_save = nullptr;
};
