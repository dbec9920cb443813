#pragma once

#include "app/ui/mivo_dialog.h"

class QGroupBox;
class QPushButton;

// "餐桌转台": moves the current table's guests and open order to a free table.
class TForm_desk_zhuantai : public MivoDialog
{
    Q_OBJECT
public:
    TForm_desk_zhuantai(Forms &forms, QWidget *parent);

    // Rebuilds the list of tables inside "关联桌号".
    void load_desk_list();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void zhuantai_click();

    QGroupBox *m_group = nullptr;
    QPushButton *m_button = nullptr;
};
