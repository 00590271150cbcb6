#include "platform/FontConfigFonts.h"

namespace platform {

FontConfigFonts::FontConfigFonts(FontSnapshotSource fonts) : m_fonts(std::move(fonts)) {}

QStringList FontConfigFonts::screenFonts()
{
    const auto snapshot = m_fonts ? m_fonts() : nullptr;
    return snapshot ? snapshot->screenFonts() : QStringList();
}

} // namespace platform
