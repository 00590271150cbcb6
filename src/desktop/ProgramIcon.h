#pragma once

#include <QIcon>

namespace platform {

// The program's own picture, in the sizes title bars and window lists ask
// for: the viewer's windows and the Reset boxes show the same icon as the
// menu entry.
QIcon programIcon();

} // namespace platform
