#include "support/ui/guikit.h"

#include "board/ui/tform_main.h"

#include <QWidget>

GuiProgram::GuiProgram()
    : TestProgram(false)
{
    forms = create_forms(ctx, dir.path());
}

GuiProgram::~GuiProgram()
{
    forms.reset();
}

void GuiProgram::click(QWidget *w)
{
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
}
