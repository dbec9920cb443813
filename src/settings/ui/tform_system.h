#pragma once

#include "app/ui/mivo_dialog.h"
#include "settings/system_settings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class OnlinePayPanel;

// The shop's settings: receipt details, printers and layouts, database path, sync
// timer, page sizes and the tableware fee, all kept in info.ini; beside them the
// payment service's address and account and the online payment settings it keeps.
class TForm_system : public MivoDialog
{
    Q_OBJECT
public:
    TForm_system(Forms &forms, QWidget *parent);

    // The fields as they stand, and putting values into them.
    SystemFields fields() const;
    void set_fields(const SystemFields &f);

public slots:
    void ClickSave();
    void ClickDefaultPay();
    void ClickBackup();
    // Fetches the service's default print layout into the fields.
    void ClickDefaults();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fill_printers(QComboBox *box, const QString &configured);

    QLineEdit *m_shopname = nullptr;
    QLineEdit *m_shopaddress = nullptr;
    QLineEdit *m_shoptel = nullptr;
    QCheckBox *m_is_shopaddress = nullptr;
    QCheckBox *m_is_shoptel = nullptr;
    QCheckBox *m_is_paytime = nullptr;
    QComboBox *m_kdprintname = nullptr;
    QComboBox *m_cdprintname = nullptr;
    QLineEdit *m_kdprintnums = nullptr;
    QLineEdit *m_cdprintnums = nullptr;
    QLineEdit *m_kdstr = nullptr;
    QLineEdit *m_cdstr = nullptr;
    QLineEdit *m_kdtop = nullptr;
    QLineEdit *m_kdhj = nullptr;
    QLineEdit *m_cdtop = nullptr;
    QLineEdit *m_cdhj = nullptr;
    QLineEdit *m_path = nullptr;
    QLineEdit *m_time_tb = nullptr;
    QCheckBox *m_is_time_tb = nullptr;
    QLineEdit *m_desk_perpage = nullptr;
    QLineEdit *m_caipin_perpage = nullptr;
    QLineEdit *m_cwf_tit = nullptr;
    QLineEdit *m_cwf = nullptr;
    OnlinePayPanel *m_online = nullptr;
};
