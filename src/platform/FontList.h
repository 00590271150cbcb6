#pragma once

#include "platform/DesignFaces.h"

#include <QStringList>

namespace platform {

// The screen fonts: one name per family, as the user should see it.
class FontList {
public:
    virtual ~FontList() = default;
    virtual QStringList screenFonts() = 0;
    // The family to use for a design face: the face itself where it is
    // installed, else its counterpart; empty when there is neither.
    virtual QString designFace(DesignFace face) = 0;
    // The family to ask the drawing code for to draw a screen font.
    virtual QString drawingFamily(const QString& screenName) = 0;
};

} // namespace platform
