#pragma once

#include <QPoint>
#include <QSize>

// Where the frame puts the next new child window: cascading from the client
// area's top-left corner one step per window, back at the corner when the
// window would no longer lie wholly inside the area. step is advanced for
// the next window. A window larger than the area goes to the corner.
QPoint NextCascadePosition(int& step, QSize window, QSize area, int stepPixels);
