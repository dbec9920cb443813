#include "masterdata/ui/choice_box.h"

#include <QLineEdit>

ChoiceBox::ChoiceBox(QWidget *parent)
    : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Until the choices are loaded.
    lineEdit()->setText(QStringLiteral("默认分类"));
}

void ChoiceBox::load(const QVector<Choice> &choices)
{
    clear();
    if (choices.isEmpty()) {
        lineEdit()->clear();
        return;
    }
    addItem(QStringLiteral("选择分类"), QStringLiteral("0"));
    for (const Choice &c : choices)
        addItem(c.title, c.id);
    setCurrentIndex(0);
}

void ChoiceBox::choose(const QString &id)
{
    const int i = findData(id);
    if (i >= 0)
        setCurrentIndex(i);
}

QString ChoiceBox::chosen_id() const
{
    const int i = currentIndex();
    if (i < 0 || currentText() != itemText(i))
        return {};
    return itemData(i).toString();
}
