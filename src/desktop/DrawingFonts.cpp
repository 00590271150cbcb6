#include "desktop/DrawingFonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QPointer>
#include <QSet>
#include <QTimer>

#include <algorithm>
#include <utility>
#include <vector>

#include <fontconfig/fontconfig.h>

namespace platform {

namespace {

bool g_limited = false;

// A few pages of the preview or a few dozen views; at about 15 KB a font,
// a couple of megabytes at most.
int g_releaseAfterFiles = 128;

struct Drawable
{
    // File -> the drawing code's handle for it (-1: it could not be read).
    QHash<QString, int> handles;
    // Files the open windows asked for again after the last release.
    int heldAfterRelease = 0;
    bool releasePending = false;
    std::vector<std::pair<QPointer<QObject>, std::function<void()>>> redraws;
};

Drawable& drawable()
{
    static Drawable state;
    return state;
}

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

// The fonts whose object (a family, a file) has the value, as configuration
// text. Values XML cannot carry are left out; such fonts still join the
// drawing code when drawn. Files too are accepted by pattern: a file glob
// only spares a file from being banned by name, and the catch-all rejection
// below would still reject its faces.
void appendAccepted(QByteArray& xml, const char* object, const QString& value)
{
    for (const QChar c : value) {
        if (c.unicode() < 0x20 || c.isSurrogate() || c.unicode() >= 0xfffe)
            return;
    }
    xml += QByteArray("<pattern><patelt name=\"") + object + "\"><string>" + value.toHtmlEscaped().toUtf8()
           + "</string></patelt></pattern>";
}

// The files that hold faces of the given families. A collection file holds
// other faces as well (the regions of a CJK family, say); listing those too
// from the start spares the drawing code reading every face of the file
// again when one of them is drawn, tens of milliseconds for a CJK collection.
QSet<QString> familyFiles(FcConfig* config, const QStringList& families)
{
    QSet<QByteArray> wanted;
    for (const QString& family : families)
        wanted.insert(family.toUtf8());
    QSet<QString> files;
    for (const FcSetName which : {FcSetSystem, FcSetApplication}) {
        const FcFontSet* fonts = FcConfigGetFonts(config, which);
        for (int i = 0; fonts && i < fonts->nfont; ++i) {
            FcChar8* value = nullptr;
            bool holds = false;
            for (int k = 0; !holds && FcPatternGetString(fonts->fonts[i], FC_FAMILY, k, &value) == FcResultMatch; ++k)
                holds = wanted.contains(QByteArray(reinterpret_cast<const char*>(value)));
            if (holds && FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &value) == FcResultMatch)
                files.insert(QString::fromUtf8(reinterpret_cast<const char*>(value)));
        }
    }
    return files;
}

// Files the drawing configuration lists from the start.
QSet<QString> g_listedFiles;

} // namespace

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
        appendAccepted(xml, FC_FAMILY, family);
    for (const QString& file : familyFiles(installed, families))
        appendAccepted(xml, FC_FILE, file);
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
    keepInstalledFontsConfig(installed);
    onFontFilesNeeded(&makeDrawable);
    g_limited = true;
    // What the drawing code lists need never join it.
    for (const FcSetName which : {FcSetSystem, FcSetApplication}) {
        const FcFontSet* fonts = FcConfigGetFonts(drawing, which);
        for (int i = 0; fonts && i < fonts->nfont; ++i) {
            FcChar8* file = nullptr;
            if (FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &file) == FcResultMatch)
                g_listedFiles.insert(QString::fromUtf8(reinterpret_cast<const char*>(file)));
        }
    }
    // Building the selection read every face once; the catalogue, which
    // reads them next, lets go of those pages as it goes.
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
    Drawable& state = drawable();
    for (const QString& file : files) {
        if (state.handles.contains(file) || g_listedFiles.contains(file))
            continue;
        // A file the drawing code cannot read is simply not added; the
        // windows then draw the name in their fallback face.
        state.handles.insert(file, QFontDatabase::addApplicationFont(file));
    }
    // Counted from what the open windows hold, so that a desktop showing
    // more fonts than that at once is not released over and over.
    if (state.handles.size() > state.heldAfterRelease + g_releaseAfterFiles && !state.releasePending) {
        state.releasePending = true;
        // Not now: the caller is in the middle of setting a font.
        QTimer::singleShot(0, QGuiApplication::instance(), [] {
            if (drawable().releasePending)
                releaseDrawableFiles();
        });
    }
}

void redrawAfterRelease(QObject* owner, std::function<void()> redraw)
{
    auto& redraws = drawable().redraws;
    // Windows come and go by the thousand in a long session.
    std::erase_if(redraws, [](const auto& entry) { return entry.first.isNull(); });
    if (owner && redraw)
        redraws.emplace_back(owner, std::move(redraw));
}

void releaseDrawableFilesAfter(int files)
{
    g_releaseAfterFiles = std::max(1, files);
}

int drawableFileCount()
{
    return int(drawable().handles.size());
}

void releaseDrawableFiles()
{
    Drawable& state = drawable();
    state.releasePending = false;
    if (state.handles.isEmpty())
        return;
    const QHash<QString, int> handles = std::exchange(state.handles, {});
    for (const int handle : handles) {
        if (handle >= 0)
            QFontDatabase::removeApplicationFont(handle);
    }
    // A step may open or close windows; run the ones known now.
    const auto redraws = state.redraws;
    for (const auto& [owner, redraw] : redraws) {
        if (owner)
            redraw();
    }
    state.heldAfterRelease = int(state.handles.size());
}

} // namespace platform
