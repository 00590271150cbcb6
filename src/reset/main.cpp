#include "desktop/DesktopPlatform.h"
#include "desktop/ProgramIcon.h"
#include "desktop/Translations.h"
#include "desktop/UiFont.h"
#include "reset/ResetTool.h"

#include <QApplication>

// The tool has no window of its own: message boxes are all it shows.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    platform::installJapaneseTranslations(app);
    QApplication::setWindowIcon(platform::programIcon());
    // The tool is an action of the viewer's menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("glyfaro2"));
    platform::useJapaneseUiFont();
    platform::limitDrawingToUiFaces();
    const auto services = platform::createPlatform();
    platform::Platform& system = services->platform();
    return RunReset(system.registry, system.dialogs);
}
