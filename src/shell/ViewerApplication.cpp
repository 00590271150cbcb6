#include "shell/ViewerApplication.h"

#include "platform/ProgramIcon.h"
#include "platform/Translations.h"
#include "platform/UiFont.h"

#include <QApplication>

void prepareViewerApplication(QApplication& app)
{
    QApplication::setApplicationName(QStringLiteral("Glyfaro 2"));
    // Ties the windows to the menu entry, whose icon the task bar shows.
    QGuiApplication::setDesktopFileName(QStringLiteral("glyfaro2"));
    QApplication::setQuitOnLastWindowClosed(false);
    platform::installJapaneseTranslations(app);
    platform::useJapaneseUiFont();
    platform::limitDrawingToUiFaces();
    // One icon for every window: each child window that made its own would
    // leave its own scaled copies in the toolkit's picture cache.
    QApplication::setWindowIcon(platform::programIcon());
}
