#include "platform/FontConfigFonts.h"

#include "platform/DrawingFonts.h"

namespace platform {

FontConfigFonts::FontConfigFonts(FontSnapshotSource fonts) : m_fonts(std::move(fonts)) {}

QStringList FontConfigFonts::screenFonts()
{
    const auto snapshot = m_fonts ? m_fonts() : nullptr;
    return snapshot ? snapshot->screenFonts() : QStringList();
}

QString FontConfigFonts::drawingFamily(const QString& screenName)
{
    const auto snapshot = m_fonts ? m_fonts() : nullptr;
    if (!snapshot)
        return screenName;
    const QString family = snapshot->drawingFamily(screenName);
    makeDrawable(snapshot->drawingFiles(family));
    return family;
}

QString FontConfigFonts::designFace(DesignFace face)
{
    std::optional<QString>& known = face == DesignFace::ProportionalGothic ? m_proportional : m_fixed;
    if (!known)
        known = resolveDesignFace(face, screenFonts());
    return *known;
}

} // namespace platform
