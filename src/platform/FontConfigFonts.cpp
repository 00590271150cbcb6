#include "platform/FontConfigFonts.h"

#include "platform/InstalledFonts.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>

#include <fontconfig/fontconfig.h>

namespace platform {

// The names and character map of each screen font, as the installed fonts'
// configuration lists them. The character maps stay where fontconfig keeps
// them (its mapped caches, for the life of the process): nothing is copied.
class FontConfigFonts::Families {
public:
    struct Family {
        QList<FamilyName> names;
        const FcCharSet* characters = nullptr;
        bool regular = false;
        QList<FaceFile> faces;
    };

    Families()
    {
        FcConfig* config = installedFontsConfig();
        FcFontSet* sets[] = {FcConfigGetFonts(config, FcSetSystem), FcConfigGetFonts(config, FcSetApplication)};
        for (FcFontSet* set : sets) {
            for (int i = 0; set && i < set->nfont; ++i)
                add(set->fonts[i]);
        }
    }

    const Family* find(const QString& screenName) const
    {
        const auto it = m_families.constFind(screenName);
        return it == m_families.cend() ? nullptr : &it.value();
    }

private:
    static QStringList strings(FcPattern* pattern, const char* object)
    {
        QStringList values;
        FcChar8* text = nullptr;
        for (int i = 0; FcPatternGetString(pattern, object, i, &text) == FcResultMatch; ++i)
            values << QString::fromUtf8(reinterpret_cast<const char*>(text));
        return values;
    }

    void add(FcPattern* font)
    {
        FontFace face;
        face.families = strings(font, FC_FAMILY);
        if (face.families.isEmpty())
            return;
        face.familyLanguages = strings(font, FC_FAMILYLANG);
        Family& family = m_families[FontSnapshot::screenName(face)];
        for (qsizetype i = 0; i < face.families.size(); ++i) {
            const FamilyName name{face.families.at(i), face.familyLanguages.value(i)};
            const bool known = std::any_of(family.names.cbegin(), family.names.cend(),
                                           [&](const FamilyName& other) { return other.name == name.name; });
            if (!known)
                family.names.append(name);
        }
        FcChar8* file = nullptr;
        int index = 0;
        FcChar8* style = nullptr;
        if (FcPatternGetString(font, FC_FILE, 0, &file) == FcResultMatch) {
            FcPatternGetInteger(font, FC_INDEX, 0, &index);
            FcPatternGetString(font, FC_STYLE, 0, &style);
            family.faces.append({QString::fromUtf8(reinterpret_cast<const char*>(file)), index,
                                 style ? QString::fromUtf8(reinterpret_cast<const char*>(style)) : QString(), true});
        }
        FcCharSet* characters = nullptr;
        if (FcPatternGetCharSet(font, FC_CHARSET, 0, &characters) != FcResultMatch)
            return;
        int weight = FC_WEIGHT_REGULAR;
        int slant = FC_SLANT_ROMAN;
        FcPatternGetInteger(font, FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(font, FC_SLANT, 0, &slant);
        const bool regular = weight == FC_WEIGHT_REGULAR && slant == FC_SLANT_ROMAN;
        if (!family.characters || (regular && !family.regular)) {
            family.characters = characters;
            family.regular = regular;
        }
    }

    QHash<QString, Family> m_families;
};

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
    fontFilesNeeded(snapshot->drawingFiles(family));
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

namespace platform {

const FontConfigFonts::Families& FontConfigFonts::families()
{
    if (!m_families)
        m_families = std::make_shared<const Families>();
    return *m_families;
}

QList<FamilyName> FontConfigFonts::familyNames(const QString& screenName)
{
    const Families::Family* family = families().find(screenName);
    return family ? family->names : QList<FamilyName>{};
}

bool FontConfigFonts::hasCharacter(const QString& screenName, char32_t character)
{
    const Families::Family* family = families().find(screenName);
    return family && family->characters && FcCharSetHasChar(family->characters, FcChar32(character));
}

} // namespace platform

namespace platform {

QList<FaceFile> FontConfigFonts::faceFiles(const QString& screenName)
{
    const Families::Family* family = families().find(screenName);
    if (!family)
        return {};
    // Several paths can name one file through links (a distribution's
    // alternatives): each file once, by the path that is its own.
    const auto realPath = [](const QString& path) {
        const QString real = QFileInfo(path).canonicalFilePath();
        return real.isEmpty() ? path : real;
    };
    QList<FaceFile> faces;
    for (const FaceFile& face : family->faces) {
        const QString real = realPath(face.path);
        const bool known = std::any_of(faces.cbegin(), faces.cend(), [&](const FaceFile& other) {
            return other.path == real && other.index == face.index;
        });
        if (!known)
            faces.append({real, face.index, face.style, true});
    }
    std::sort(faces.begin(), faces.end(), [](const FaceFile& a, const FaceFile& b) {
        return a.style != b.style ? a.style < b.style : a.path != b.path ? a.path < b.path : a.index < b.index;
    });
    // Where several files offer one style, the configuration's own match says
    // which of them a program that asks for the family and style gets.
    for (qsizetype i = 0; i < faces.size();) {
        qsizetype end = i + 1;
        while (end < faces.size() && faces.at(end).style == faces.at(i).style)
            ++end;
        if (end - i > 1) {
            FcPattern* wanted = FcPatternCreate();
            const QByteArray familyName = family->names.value(0).name.toUtf8();
            const QByteArray style = faces.at(i).style.toUtf8();
            FcPatternAddString(wanted, FC_FAMILY, reinterpret_cast<const FcChar8*>(familyName.constData()));
            FcPatternAddString(wanted, FC_STYLE, reinterpret_cast<const FcChar8*>(style.constData()));
            FcConfig* config = installedFontsConfig();
            FcConfigSubstitute(config, wanted, FcMatchPattern);
            FcDefaultSubstitute(wanted);
            FcResult result = FcResultNoMatch;
            FcPattern* match = FcFontMatch(config, wanted, &result);
            FcChar8* file = nullptr;
            int index = 0;
            QString matched;
            if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
                FcPatternGetInteger(match, FC_INDEX, 0, &index);
                matched = realPath(QString::fromUtf8(reinterpret_cast<const char*>(file)));
            }
            for (qsizetype k = i; k < end; ++k)
                faces[k].chosen = faces.at(k).path == matched && faces.at(k).index == index;
            if (match)
                FcPatternDestroy(match);
            FcPatternDestroy(wanted);
        }
        i = end;
    }
    return faces;
}
} // namespace platform
