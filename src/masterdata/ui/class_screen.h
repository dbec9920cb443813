#pragma once

#include "masterdata/class_rules.h"
#include "masterdata/ui/list_screen.h"

class QLineEdit;

// The list screen of table areas or dish categories: a name and a sort number.
// Every save and delete is announced by the core (areas_changed, dishes_changed).
class ClassScreen : public ListScreen
{
    Q_OBJECT
public:
    ClassKind kind() const { return m_kind; }

protected:
    ClassScreen(Forms &forms, QWidget *parent, ClassKind kind);

    void set_edit(int isedit, const QString &id) override;
    void save() override;
    void mydel(const QString &id) override;

private:
    ClassKind m_kind;
    QLineEdit *m_name = nullptr; // LabeledEdit2
    QLineEdit *m_sort = nullptr; // LabeledEdit3
};
