#include "platform/DesignFaces.h"

#include "platform/DrawingFonts.h"
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

// The best match for the description that can show Japanese and has the
// wanted spacing. Fontconfig's own match ignores spacing once the generic
// aliases have put a fixed-pitch face first, so walk its sorted list.
QString matchCounterpart(const char* description, bool proportional)
{
    FcConfig* config = installedFontsConfig();
    if (!config)
        return {};
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(description));
    if (!pattern)
        return {};
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcFontSet* sorted = FcFontSort(config, pattern, FcFalse, nullptr, &result);
    FcPatternDestroy(pattern);
    if (!sorted)
        return {};
    QString name;
    for (int i = 0; i < sorted->nfont && name.isEmpty(); ++i) {
        FcPattern* font = sorted->fonts[i];
        FcLangSet* languages = nullptr;
        if (FcPatternGetLangSet(font, FC_LANG, 0, &languages) != FcResultMatch
            || FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>("ja")) != FcLangEqual)
            continue;
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
    // The sort read every face; its pages are not needed again.
    releaseFontListingPages();
    return name;
}

} // namespace

QString designFaceName(DesignFace face)
{
    return face == DesignFace::ProportionalGothic ? QStringLiteral("ＭＳ Ｐゴシック")
                                                   : QStringLiteral("ＭＳ ゴシック");
}

QString designFaceCounterpart(DesignFace face)
{
    // Each is matched once a run; the configuration does not change meanwhile.
    if (face == DesignFace::ProportionalGothic) {
        static const QString proportional = matchCounterpart("sans-serif:lang=ja", true);
        return proportional;
    }
    static const QString fixed = matchCounterpart("monospace:lang=ja", false);
    return fixed;
}

QString resolveDesignFace(DesignFace face, const QStringList& screenFonts)
{
    const QString name = designFaceName(face);
    if (screenFonts.contains(name))
        return name;
    return designFaceCounterpart(face);
}

} // namespace platform
