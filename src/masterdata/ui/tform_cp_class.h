#pragma once

#include "masterdata/ui/class_screen.h"

// "菜品分类": the dish categories. changed() means the categories changed: the
// ordering screen's category strip and the dishes screen's choices follow it.
class TForm_cp_class : public ClassScreen
{
    Q_OBJECT
public:
    TForm_cp_class(Forms &forms, QWidget *parent)
        : ClassScreen(forms, parent, ClassKind::DishCategory)
    {}
};
