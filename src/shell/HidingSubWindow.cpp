#include "shell/HidingSubWindow.h"

#include <QCloseEvent>

void HidingSubWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    hide();
}
