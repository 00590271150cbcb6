#pragma once

#include "platform/FontList.h"
#include "platform/FontSnapshot.h"

namespace platform {

// The screen fonts as the font configuration lists them.
class FontConfigFonts : public FontList {
public:
    explicit FontConfigFonts(FontSnapshotSource fonts = &FontSnapshot::shared);
    QStringList screenFonts() override;

private:
    FontSnapshotSource m_fonts;
};

} // namespace platform
