#pragma once

#include "app/ui/forms.h"
#include "support/testkit.h"

#include <QTest>

class QWidget;

// A program folder with every window created as start_program creates them.
class GuiProgram : public TestProgram
{
public:
    GuiProgram();
    ~GuiProgram();

    // Clicks the widget with the left button in its centre.
    static void click(QWidget *w);

    std::unique_ptr<Forms> forms;
};
