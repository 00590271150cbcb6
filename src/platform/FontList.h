#pragma once

#include "platform/DesignFaces.h"

#include <QList>
#include <QStringList>

namespace platform {

// One face of a font file that belongs to a screen font's family.
struct FaceFile {
    QString path;
    int index = 0;     // face number inside a collection
    QString style;
    // The file the font configuration picks for this style, where several
    // files offer the same family and style.
    bool chosen = true;
};

// One of the names a font family carries, with the language the font gives
// it ("ja", "en"; empty where it names none).
struct FamilyName {
    QString name;
    QString language;
};

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

    // Every name of a screen font's family, the shown one among them. The
    // names and character maps are read when first asked for, never at start.
    virtual QList<FamilyName> familyNames(const QString& screenName) = 0;
    // Whether the font's own character map holds character: its regular
    // style's, where the family has several. False for an unknown font.
    virtual bool hasCharacter(const QString& screenName, char32_t character) = 0;
    // Every face of the family in every file, by style; read when first asked for.
    virtual QList<FaceFile> faceFiles(const QString& screenName) = 0;
};

} // namespace platform
