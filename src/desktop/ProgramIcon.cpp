#include "desktop/ProgramIcon.h"

#include <array>

// The pictures are compiled into this library; a static library's resources
// are registered by hand, and outside any namespace.
static void registerIconResource()
{
    Q_INIT_RESOURCE(icons);
}

namespace platform {

QIcon programIcon()
{
    // Decoded once and shared, as every window asks for it. Kept for the
    // whole run, so it is never destroyed after the application object.
    // Title bars and window lists need no more than 64 pixels; larger
    // pictures come from the icon theme the menu entry names, and 256 pixels
    // alone would be a quarter of a megabyte in every process.
    static const QIcon* const icon = [] {
        registerIconResource();
        auto* made = new QIcon;
        for (const int size : std::array{16, 22, 24, 32, 48, 64})
            made->addFile(QStringLiteral(":/icons/glyfaro2-%1.png").arg(size), QSize(size, size));
        return made;
    }();
    return *icon;
}

} // namespace platform
