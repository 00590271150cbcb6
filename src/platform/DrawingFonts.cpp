#include "platform/DrawingFonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QRegularExpression>
#include <QGuiApplication>
#include <QSet>

#include <fontconfig/fontconfig.h>
#include <sys/mman.h>

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
    // What Qt falls back on for characters the Japanese faces lack. Each
    // match scores every installed font, so only the one catch-all.
    if (const QString family = matchedFamily(installed, "sans-serif"); !family.isEmpty() && !families.contains(family))
        families.append(family);

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
    // Building the selection read every face once.
    releaseFontListingPages();
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

void releaseFontListingPages()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return;
    // fontconfig names its caches <hash>-<arch>.cache-<version>.
    static const QRegularExpression cacheFile(QStringLiteral("/[0-9a-f]{32}-[a-z0-9]+\\.cache-[0-9]+$"));
    for (const QByteArray& line : maps.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        // Read-only mappings only: their pages come back from the file.
        if (fields.size() < 6 || !fields[1].startsWith("r-")
            || !cacheFile.match(QString::fromLocal8Bit(fields[5])).hasMatch())
            continue;
        const QList<QByteArray> range = fields[0].split('-');
        bool okStart = false;
        bool okEnd = false;
        const quintptr start = range.value(0).toULongLong(&okStart, 16);
        const quintptr end = range.value(1).toULongLong(&okEnd, 16);
        if (okStart && okEnd && end > start)
            madvise(reinterpret_cast<void*>(start), end - start, MADV_DONTNEED);
    }
}

} // namespace platform
