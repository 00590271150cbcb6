#include "platform/ProgramIcon.h"

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
    registerIconResource();
    QIcon icon;
    for (const int size : std::array{16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/glyfaro2-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace platform
