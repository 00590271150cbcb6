#include "desktop/DesktopPlatform.h"
#include "shell/MDIForm1.h"
#include "shell/TerminationWatcher.h"
#include "shell/ViewerApplication.h"

#include <QApplication>
#include <QFileInfo>
#include <QSessionManager>
#include <QTimer>

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

    // A comparison file or a font file opened from the desktop: glyfaro2 FILE.
    const QStringList arguments = app.arguments().mid(1);
    const QString startFile = arguments.isEmpty() ? QString() : QFileInfo(arguments.constFirst()).absoluteFilePath();
    mainWindow.setStartFile(startFile);
    if (mainWindow.MDIForm_Load() == MDIForm1::LoadResult::Ended)
        return 0;
    if (!startFile.isEmpty()) {
        // After the first events, so that the window is up when the file
        // is read, as if the user had opened it.
        QTimer::singleShot(0, &mainWindow, [&mainWindow, startFile] { mainWindow.openStartFile(startFile); });
    }
    return app.exec();
}
