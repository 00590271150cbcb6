#include "platform/Platform.h"
#include "platform/ProgramIcon.h"
#include "platform/Translations.h"
#include "platform/UiFont.h"
#include "shell/MDIForm1.h"
#include "shell/TerminationWatcher.h"

#include <QApplication>
#include <QSessionManager>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Glyfaro 2"));
    // Ties the windows to the menu entry, whose icon the task bar shows.
    QGuiApplication::setDesktopFileName(QStringLiteral("glyfaro2"));
    QApplication::setQuitOnLastWindowClosed(false);
    platform::installJapaneseTranslations(app);
    platform::useJapaneseUiFont();
    platform::limitDrawingToUiFaces();
    QApplication::setWindowIcon(platform::programIcon());

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
