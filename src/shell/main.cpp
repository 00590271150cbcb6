#include "desktop/DesktopPlatform.h"
#include "shell/MDIForm1.h"
#include "shell/TerminationWatcher.h"
#include "shell/ViewerApplication.h"

#include <QApplication>
#include <QSessionManager>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    prepareViewerApplication(app);

    auto services = platform::createPlatform();
    MDIForm1 mainWindow(services->platform());

    // The end of the session and a termination signal close the program as a
    // system shutdown does: no question, the settings are written.
    TerminationWatcher watcher;
    QObject::connect(&watcher, &TerminationWatcher::terminationRequested, &mainWindow,
                     &MDIForm1::systemShutdown);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &mainWindow,
                     [&mainWindow](QSessionManager&) { mainWindow.systemShutdown(); });

    if (mainWindow.MDIForm_Load() == MDIForm1::LoadResult::Ended)
        return 0;
    return app.exec();
}
