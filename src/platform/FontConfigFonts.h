#pragma once

#include "platform/FontList.h"
#include "platform/FontSnapshot.h"

#include <optional>

namespace platform {

// The screen fonts as the font configuration lists them.
class FontConfigFonts : public FontList {
public:
    explicit FontConfigFonts(FontSnapshotSource fonts = &FontSnapshot::shared);
    QStringList screenFonts() override;
    QString designFace(DesignFace face) override;
    QString drawingFamily(const QString& screenName) override;

private:
    FontSnapshotSource m_fonts;
    std::optional<QString> m_proportional;
    std::optional<QString> m_fixed;
};

} // namespace platform
