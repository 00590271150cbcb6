#pragma once

#include <QMdiSubWindow>

// A child window that the user's close command only hides, for the windows
// that exist once per run and keep their contents.
class HidingSubWindow : public QMdiSubWindow {
    Q_OBJECT

public:
    using QMdiSubWindow::QMdiSubWindow;

protected:
    void closeEvent(QCloseEvent* event) override;
};
