#pragma once

#include "platform/FontList.h"
#include "platform/FontSnapshot.h"

#include <memory>
#include <optional>

namespace platform {

// The screen fonts as the font configuration lists them.
class FontConfigFonts : public FontList {
public:
    explicit FontConfigFonts(FontSnapshotSource fonts = &FontSnapshot::shared);
    QStringList screenFonts() override;
    QString designFace(DesignFace face) override;
    QString drawingFamily(const QString& screenName) override;
    QList<FamilyName> familyNames(const QString& screenName) override;
    bool hasCharacter(const QString& screenName, char32_t character) override;
    QList<FaceFile> faceFiles(const QString& screenName) override;

private:
    class Families;
    // Made on the first question about names or characters.
    const Families& families();

    FontSnapshotSource m_fonts;
    std::shared_ptr<const Families> m_families;
    std::optional<QString> m_proportional;
    std::optional<QString> m_fixed;
};

} // namespace platform
