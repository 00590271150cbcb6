#include "face/VerticalLayout.h"

VerticalRun LayOutVertically(const QString& fontPath, int faceIndex, const QString& text, qreal pixelSize)
{
    const Typesetter setter(fontPath, faceIndex);
    if (!setter.error().isEmpty()) {
        VerticalRun run;
        run.error = setter.error();
        return run;
    }
    return setter.set(text, pixelSize, SettingDirection::Vertical, {"vert", "vrt2"});
}
