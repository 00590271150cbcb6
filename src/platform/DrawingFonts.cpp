#include "platform/DrawingFonts.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QSet>

#include <fontconfig/fontconfig.h>

namespace platform {

namespace {

bool g_limited = false;
// Held from the moment Qt is given a configuration of its own.
FcConfig* g_installed = nullptr;

// The family fontconfig would draw a description with, from every installed font.
QString matchedFamily(FcConfig* config, const char* description)
{
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(description));
    if (!pattern)
        return {};
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    QString family;
    FcChar8* value = nullptr;
    if (match && FcPatternGetString(match, FC_FAMILY, 0, &value) == FcResultMatch)
        family = QString::fromUtf8(reinterpret_cast<const char*>(value));
    if (match)
        FcPatternDestroy(match);
    return family;
}

// A family name as configuration text; names XML cannot carry are left out
// (such a font still joins the drawing code when drawn).
bool appendAccepted(QByteArray& xml, const QString& family)
{
    for (const QChar c : family) {
        if (c.unicode() < 0x20 || c.isSurrogate() || c.unicode() >= 0xfffe)
            return false;
    }
    xml += "<pattern><patelt name=\"family\"><string>" + family.toHtmlEscaped().toUtf8()
           + "</string></patelt></pattern>";
    return true;
}

} // namespace

FcConfig* installedFontsConfig()
{
    if (g_installed)
        return g_installed;
    // Until then it is simply the current one (which a test may let go of).
    FcInit();
    return FcConfigGetCurrent();
}

bool limitDrawingFonts(const QStringList& uiFamilies)
{
    if (g_limited)
        return false;
    FcConfig* installed = installedFontsConfig();
    if (!installed)
        return false;
    QStringList families;
    for (const QString& family : uiFamilies) {
        if (!family.isEmpty() && !families.contains(family))
            families.append(family);
    }
    // What Qt falls back on for the generic names and for characters the
    // chosen face lacks.
    for (const char* generic : {"sans-serif", "serif", "monospace", "sans-serif:lang=ja", "monospace:lang=ja"}) {
        const QString family = matchedFamily(installed, generic);
        if (!family.isEmpty() && !families.contains(family))
            families.append(family);
    }

    QByteArray xml = "<?xml version=\"1.0\"?><fontconfig><selectfont><acceptfont>";
    for (const QString& family : families)
        appendAccepted(xml, family);
    // An empty pattern matches every font; the accepted ones are kept.
    xml += "</acceptfont><rejectfont><pattern></pattern></rejectfont></selectfont></fontconfig>";

    // The same configuration file, so the same rules and folders, with the
    // selection on top.
    FcConfig* drawing = FcConfigCreate();
    if (!drawing)
        return false;
    // Held for the rest of the run, as is the new current one: setting the
    // current configuration lets go of the old one.
    FcConfigReference(installed);
    if (!FcConfigParseAndLoad(drawing, nullptr, FcTrue)
        || !FcConfigParseAndLoadFromMemory(drawing, reinterpret_cast<const FcChar8*>(xml.constData()), FcTrue)
        || !FcConfigBuildFonts(drawing) || !FcConfigSetCurrent(drawing)) {
        FcConfigDestroy(drawing);
        FcConfigDestroy(installed);
        return false;
    }
    g_installed = installed;
    g_limited = true;
    return true;
}

bool drawingFontsLimited()
{
    return g_limited;
}

void makeDrawable(const QStringList& files)
{
    if (!g_limited || !QGuiApplication::instance())
        return;
    static QSet<QString> added;
    for (const QString& file : files) {
        if (added.contains(file))
            continue;
        added.insert(file);
        // A file the drawing code cannot read is simply not added; the
        // windows then draw the name in their fallback face.
        QFontDatabase::addApplicationFont(file);
    }
}

} // namespace platform
