#include "platform/DesignFaces.h"

#include "platform/InstalledFonts.h"
#include "platform/FontSnapshot.h"

#include <fontconfig/fontconfig.h>

namespace platform {

namespace {

QStringList patternStrings(FcPattern* pattern, const char* object)
{
    QStringList values;
    FcChar8* value = nullptr;
    for (int i = 0; FcPatternGetString(pattern, object, i, &value) == FcResultMatch; ++i)
        values.append(QString::fromUtf8(reinterpret_cast<const char*>(value)));
    return values;
}

bool showsJapanese(FcPattern* font)
{
    FcLangSet* languages = nullptr;
    return FcPatternGetLangSet(font, FC_LANG, 0, &languages) == FcResultMatch
           && FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>("ja")) == FcLangEqual;
}

// The installed faces that show Japanese, each held by the set.
FcFontSet* japaneseFaces(FcConfig* config)
{
    FcFontSet* japanese = FcFontSetCreate();
    if (!japanese)
        return nullptr;
    for (const FcSetName which : {FcSetSystem, FcSetApplication}) {
        const FcFontSet* fonts = FcConfigGetFonts(config, which);
        for (int i = 0; fonts && i < fonts->nfont; ++i) {
            if (!showsJapanese(fonts->fonts[i]))
                continue;
            FcPatternReference(fonts->fonts[i]);
            if (!FcFontSetAdd(japanese, fonts->fonts[i]))
                FcPatternDestroy(fonts->fonts[i]);
        }
    }
    return japanese;
}

// The best match for the description among the Japanese faces that has the
// wanted spacing. Fontconfig's own match ignores spacing once the generic
// aliases have put a fixed-pitch face first, so walk its sorted list.
QString matchCounterpart(FcConfig* config, FcFontSet* japanese, const char* description, bool proportional)
{
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(description));
    if (!pattern)
        return {};
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcFontSet* sorted = FcFontSetSort(config, &japanese, 1, pattern, FcFalse, nullptr, &result);
    FcPatternDestroy(pattern);
    if (!sorted)
        return {};
    QString name;
    for (int i = 0; i < sorted->nfont && name.isEmpty(); ++i) {
        FcPattern* font = sorted->fonts[i];
        int spacing = FC_PROPORTIONAL;
        FcPatternGetInteger(font, FC_SPACING, 0, &spacing);
        if ((spacing == FC_PROPORTIONAL) != proportional)
            continue;
        FontFace face;
        face.families = patternStrings(font, FC_FAMILY);
        face.familyLanguages = patternStrings(font, FC_FAMILYLANG);
        name = FontSnapshot::screenName(face);
    }
    FcFontSetDestroy(sorted);
    return name;
}

struct Counterparts
{
    QString proportional;
    QString fixed;
};

// Both are matched once a run, together: the configuration does not change
// meanwhile. Only faces that show Japanese can be chosen, and a face's place
// in a sort depends on it alone; so only those are sorted, not every font.
const Counterparts& counterparts()
{
    static const Counterparts matched = [] {
        Counterparts found;
        FcConfig* config = installedFontsConfig();
        FcFontSet* japanese = config ? japaneseFaces(config) : nullptr;
        if (!japanese)
            return found;
        found.proportional = matchCounterpart(config, japanese, "sans-serif:lang=ja", true);
        found.fixed = matchCounterpart(config, japanese, "monospace:lang=ja", false);
        FcFontSetDestroy(japanese);
        return found;
    }();
    return matched;
}

} // namespace

QString designFaceName(DesignFace face)
{
    return face == DesignFace::ProportionalGothic ? QStringLiteral("ＭＳ Ｐゴシック")
                                                   : QStringLiteral("ＭＳ ゴシック");
}

QString designFaceCounterpart(DesignFace face)
{
    return face == DesignFace::ProportionalGothic ? counterparts().proportional : counterparts().fixed;
}

QString resolveDesignFace(DesignFace face, const QStringList& screenFonts)
{
    const QString name = designFaceName(face);
    if (screenFonts.contains(name))
        return name;
    return designFaceCounterpart(face);
}

} // namespace platform
