#include "shell/ChildPlacement.h"

QPoint NextCascadePosition(int& step, QSize window, QSize area, int stepPixels)
{
    const auto fits = [&](int at) {
        const int offset = at * stepPixels;
        return offset + window.width() <= area.width() && offset + window.height() <= area.height();
    };
    if (step < 0 || !fits(step))
        step = 0;
    const QPoint position(step * stepPixels, step * stepPixels);
    ++step;
    return position;
}
