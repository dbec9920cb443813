#pragma once

#include "masterdata/ui/class_screen.h"

// "桌号分类": the table areas. changed() means the areas changed: the board's area
// bar and the tables screen's choices follow it.
class TForm_desk_class : public ClassScreen
{
    Q_OBJECT
public:
    TForm_desk_class(Forms &forms, QWidget *parent)
        : ClassScreen(forms, parent, ClassKind::DeskArea)
    {}
};
