#pragma once

#include "app/ui/mivo_dialog.h"

class QLabel;
class QLineEdit;

// The signed-in member of staff's own full name and password.
class TForm_modify : public MivoDialog
{
    Q_OBJECT
public:
    TForm_modify(Forms &forms, QWidget *parent);

public slots:
    // "保存修改"
    void save();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLineEdit *m_truename = nullptr;
    QLineEdit *m_password = nullptr;
    QLabel *m_role = nullptr;
};
