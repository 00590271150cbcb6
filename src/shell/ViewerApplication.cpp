#include "shell/ViewerApplication.h"

#include "desktop/DrawingFonts.h"
#include "desktop/ProgramIcon.h"
#include "desktop/Translations.h"
#include "desktop/UiFont.h"

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
    // Choosing the faces read every entry of fontconfig's caches; the
    // catalogue reads them again a part at a time, so they need not all stay
    // resident through the splash (16 MB at 10,000 fonts).
    platform::releaseMappedFontPages();
    // One icon for every window: each child window that made its own would
    // leave its own scaled copies in the toolkit's picture cache.
    QApplication::setWindowIcon(platform::programIcon());
}
