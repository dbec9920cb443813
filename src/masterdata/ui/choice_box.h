#pragma once

#include "masterdata/list_page.h"

#include <QComboBox>

// The area or category choice of an editor: titles shown, ids behind them. The
// first entry "选择分类" stands for none (id 0). Typing instead of choosing leaves
// no id chosen.
class ChoiceBox : public QComboBox
{
    Q_OBJECT
public:
    explicit ChoiceBox(QWidget *parent);

    // Empties the box; with any choice, "选择分类" and the choices, the first selected.
    void load(const QVector<Choice> &choices);
    // Selects the entry with this id; none matching leaves the selection.
    void choose(const QString &id);
    // The id of the chosen entry; empty when nothing is chosen or text was typed.
    QString chosen_id() const;
};
