#include "platform/FontSnapshot.h"

#include "platform/InstalledFonts.h"

#include <QHash>
#include <QSet>

#include <unordered_map>

#include <fontconfig/fontconfig.h>
#include <dirent.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

bool isJapanese(const QString& language)
{
    return language == QLatin1String("ja") || language.startsWith(QLatin1String("ja-"))
        || language.startsWith(QLatin1String("ja_"));
}

bool isRegularStyle(const QString& style)
{
    static const char* const Regular[] = {"Regular", "Normal", "Book", "Roman"};
    if (style.isEmpty())
        return true;
    return std::any_of(std::begin(Regular), std::end(Regular), [&](const char* word) {
        return style.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    });
}

QStringList stringValues(FcPattern* pattern, const char* object)
{
    QStringList values;
    FcChar8* text = nullptr;
    for (int i = 0; FcPatternGetString(pattern, object, i, &text) == FcResultMatch; ++i)
        values << QString::fromUtf8(reinterpret_cast<const char*>(text));
    return values;
}

// Texts that nearly every face carries are shared instead of copied per face:
// with thousands of fonts the copies are most of the listing's cost.
QString sharedText(const char* text)
{
    static const QString Common[] = {QStringLiteral("TrueType"), QStringLiteral("CFF"),
                                     QStringLiteral("Regular"), QStringLiteral("Bold")};
    for (const QString& common : Common) {
        if (common == QLatin1String(text))
            return common;
    }
    return QString::fromUtf8(text);
}

QString firstString(FcPattern* pattern, const char* object)
{
    FcChar8* text = nullptr;
    if (FcPatternGetString(pattern, object, 0, &text) != FcResultMatch)
        return {};
    return sharedText(reinterpret_cast<const char*>(text));
}

// The style name in English where the face has one, else its first.
QString englishStyle(FcPattern* pattern)
{
    int chosen = 0;
    FcChar8* language = nullptr;
    for (int i = 0; FcPatternGetString(pattern, FC_STYLELANG, i, &language) == FcResultMatch; ++i) {
        if (std::strcmp(reinterpret_cast<const char*>(language), "en") == 0) {
            chosen = i;
            break;
        }
    }
    FcChar8* style = nullptr;
    if (FcPatternGetString(pattern, FC_STYLE, chosen, &style) != FcResultMatch
        && FcPatternGetString(pattern, FC_STYLE, 0, &style) != FcResultMatch)
        return {};
    return sharedText(reinterpret_cast<const char*>(style));
}

// Resolving every file path in full costs several system calls per font.
// Fonts share few folders, so each folder is resolved once and read once to
// learn which of its entries are links; only those are resolved in full.
class RealPaths {
public:
    // path is the face's path as listed; the result shares its text when
    // nothing in it is a link, which is the common case.
    QString of(const char* path, const QString& listed)
    {
        const QByteArrayView whole(path);
        const qsizetype slash = whole.lastIndexOf('/');
        if (slash <= 0)
            return resolve(path).value_or(listed);
        const QByteArrayView folderPath = whole.first(slash);
        const QByteArrayView name = whole.sliced(slash + 1);
        const Folder& folder = folderOf(folderPath);
        if (folder.realPath.isEmpty())
            return resolve(path).value_or(listed);
        if ((!folder.links.isEmpty() && folder.links.contains(name.toByteArray()))
            || (!folder.unknown.isEmpty() && folder.unknown.contains(name.toByteArray())))
            return resolve(path).value_or(listed);
        if (folder.isReal)
            return listed;
        return folder.realPath + QLatin1Char('/') + QString::fromUtf8(name);
    }

private:
    struct Folder {
        QString realPath; // empty when the folder cannot be resolved
        bool isReal = false; // the folder's path is already its real path
        QSet<QByteArray> links;
        QSet<QByteArray> unknown; // entries whose type the folder listing does not tell
    };

    // Faces come folder by folder, so the last folder answers most calls
    // without a lookup.
    const Folder& folderOf(QByteArrayView path)
    {
        if (m_last && m_lastPath == path)
            return *m_last;
        const QByteArray key = path.toByteArray();
        auto it = m_folders.find(key);
        if (it == m_folders.end()) {
            Folder folder;
            folder.realPath = resolve(key.constData()).value_or(QString());
            folder.isReal = !folder.realPath.isEmpty() && folder.realPath == QString::fromUtf8(key);
            if (DIR* dir = opendir(key.constData())) {
                while (const dirent* entry = readdir(dir)) {
                    if (entry->d_type == DT_LNK)
                        folder.links.insert(QByteArray(entry->d_name));
                    else if (entry->d_type == DT_UNKNOWN)
                        folder.unknown.insert(QByteArray(entry->d_name));
                }
                closedir(dir);
            } else {
                folder.realPath.clear();
            }
            it = m_folders.emplace(key, std::move(folder)).first;
        }
        m_lastPath = key;
        m_last = &it->second;
        return *m_last;
    }

    static std::optional<QString> resolve(const char* path)
    {
        char buffer[PATH_MAX];
        if (!realpath(path, buffer))
            return std::nullopt;
        return QString::fromUtf8(buffer);
    }

    // Node-based, so a pointer to a folder stays valid as others are added.
    std::unordered_map<QByteArray, Folder> m_folders;
    QByteArray m_lastPath;
    const Folder* m_last = nullptr;
};

constexpr int ReleaseEvery = 1000;

// The cache mappings that hold the sets' faces. The configuration keeps them
// mapped while it is listed, so their pages may be let go at any time until
// the listing ends, without reading the process's mappings again.
std::vector<MappedPages> mappingsHolding(const FcFontSet* const (&sets)[2])
{
    std::vector<MappedPages> holding;
    for (const MappedPages& pages : fontMappings(MappedFiles::CachesOnly)) {
        const auto holds = [&pages](const FcFontSet* set) {
            return set && std::any_of(set->fonts, set->fonts + set->nfont, [&pages](const FcPattern* font) {
                       return quintptr(font) >= pages.start && quintptr(font) < pages.end;
                   });
        };
        if (holds(sets[0]) || holds(sets[1]))
            holding.push_back(pages);
    }
    return holding;
}

} // namespace

std::optional<FontFace> FaceOfPattern(FcPattern* font)
{
    FcChar8* file = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch)
        return std::nullopt;
    int index = 0;
    FcPatternGetInteger(font, FC_INDEX, 0, &index);
    // Named instances of a variable font share the file's entry.
    if (index >> 16 != 0)
        return std::nullopt;
    FontFace face;
    face.families = stringValues(font, FC_FAMILY);
    if (face.families.isEmpty())
        return std::nullopt;
    // The languages only choose among several names.
    if (face.families.size() > 1)
        face.familyLanguages = stringValues(font, FC_FAMILYLANG);
    face.style = englishStyle(font);
    face.path = QString::fromUtf8(reinterpret_cast<const char*>(file));
    face.realPath = face.path;
    face.index = index;
    face.format = firstString(font, FC_FONTFORMAT);
    return face;
}

namespace {

QList<FontFace> listFaces(FcConfig* config)
{
    QList<FontFace> faces;
    // The configuration's own sets, read in place: a listing would first copy
    // every face's values, several megabytes with thousands of fonts.
    FcFontSet* sets[] = {FcConfigGetFonts(config, FcSetSystem), FcConfigGetFonts(config, FcSetApplication)};
    const std::vector<MappedPages> cachePages = mappingsHolding(sets);
    RealPaths realPaths;
    for (FcFontSet* set : sets) {
        if (!set)
            continue;
        faces.reserve(faces.size() + set->nfont);
        for (int i = 0; i < set->nfont; ++i) {
            // Each face is read once; the cache pages behind need not stay.
            if (i % ReleaseEvery == ReleaseEvery - 1)
                releasePages(cachePages);
            FcPattern* font = set->fonts[i];
            std::optional<FontFace> face = FaceOfPattern(font);
            if (!face)
                continue;
            FcChar8* file = nullptr;
            FcPatternGetString(font, FC_FILE, 0, &file);
            face->realPath = realPaths.of(reinterpret_cast<const char*>(file), face->path);
            faces.append(std::move(*face));
        }
    }
    // What the splash has drawn so far goes too.
    releaseMappedFontPages();
    return faces;
}

// One file a family's style is drawn from; the choices of one family are
// chained in one flat array, since nearly every family has one face and a
// list for each would cost an allocation per family at the start-up's peak.
struct DrawingChoice {
    QString style;
    QString path;
    int rank = 0;
    int next = -1; // the family's next choice
};

// The drawing code reads every file it is given, and a family installed in
// several formats (the same style as OpenType, Type 1 and its printer
// outline) would be read three times for one face: each style keeps one
// file, TrueType before CFF before the rest.
void offerDrawingFile(std::vector<DrawingChoice>& choices, QHash<QString, int>& firstChoice, const FontFace& face)
{
    const int rank = face.format == QLatin1String("TrueType") ? 0 : face.format == QLatin1String("CFF") ? 1 : 2;
    const QString& family = face.families.first();
    const int added = int(choices.size());
    const auto first = firstChoice.constFind(family);
    if (first == firstChoice.constEnd()) {
        firstChoice.insert(family, added);
    } else {
        int index = *first;
        for (;; index = choices[std::size_t(index)].next) {
            DrawingChoice& choice = choices[std::size_t(index)];
            if (choice.style == face.style) {
                if (rank < choice.rank) {
                    choice.path = face.path;
                    choice.rank = rank;
                }
                return;
            }
            if (choice.next < 0)
                break;
        }
        choices[std::size_t(index)].next = added;
    }
    choices.push_back({face.style, face.path, rank, -1});
}

} // namespace

FontSnapshot::FontSnapshot(QList<FontFace> faces)
{
    // A stable order makes the choice among duplicates the same on every run.
    std::sort(faces.begin(), faces.end(), [](const FontFace& a, const FontFace& b) {
        return a.path != b.path ? a.path < b.path : a.index < b.index;
    });
    QSet<std::pair<QString, int>> seenFaces;
    QSet<QString> seenNames;
    QSet<QString> seenEntries;
    seenFaces.reserve(faces.size());
    seenNames.reserve(faces.size());
    seenEntries.reserve(faces.size());
    m_screenFonts.reserve(faces.size());
    m_fileEntries.reserve(faces.size());
    std::vector<DrawingChoice> drawingChoices;
    drawingChoices.reserve(std::size_t(faces.size()));
    QHash<QString, int> firstChoice;
    firstChoice.reserve(faces.size());
    for (const FontFace& face : faces) {
        if (face.families.isEmpty())
            continue;
        const QString real = face.realPath.isEmpty() ? face.path : face.realPath;
        const std::pair<QString, int> id{real, face.index};
        if (seenFaces.contains(id))
            continue;
        seenFaces.insert(id);
        const QString name = screenName(face);
        offerDrawingFile(drawingChoices, firstChoice, face);
        if (!seenNames.contains(name)) {
            seenNames.insert(name);
            m_screenFonts.append(name);
            // Qt's font database files a face under its first family name and
            // finds the others only through a slow alias search.
            if (name != face.families.first())
                m_drawingFamilies.insert(name, face.families.first());
        }
        const QString entry = entryName(face);
        // Entries differing only in case are both kept: two families can
        // differ only in case, and each must find its own file.
        if (!seenEntries.contains(entry)) {
            seenEntries.insert(entry);
            m_fileEntries.append({entry, face.path});
        }
    }
    // A family's choices come in its chain's order; the first file alone
    // needs no list.
    m_drawingFile.reserve(firstChoice.size());
    for (auto it = firstChoice.cbegin(); it != firstChoice.cend(); ++it) {
        const DrawingChoice& first = drawingChoices[std::size_t(it.value())];
        m_drawingFile.insert(it.key(), first.path);
        QStringList more;
        for (int next = first.next; next >= 0; next = drawingChoices[std::size_t(next)].next) {
            const QString& path = drawingChoices[std::size_t(next)].path;
            if (path != first.path && !more.contains(path))
                more.append(path);
        }
        if (!more.isEmpty())
            m_moreDrawingFiles.insert(it.key(), more);
    }
}

QStringList FontSnapshot::drawingFiles(const QString& family) const
{
    const auto first = m_drawingFile.constFind(family);
    if (first == m_drawingFile.constEnd())
        return {};
    return QStringList{*first} + m_moreDrawingFiles.value(family);
}

QString FontSnapshot::screenName(const FontFace& face)
{
    for (qsizetype i = 0; i < face.families.size() && i < face.familyLanguages.size(); ++i) {
        if (isJapanese(face.familyLanguages.at(i)))
            return face.families.at(i);
    }
    return face.families.value(0);
}

QString FontSnapshot::entryName(const FontFace& face)
{
    QStringList names;
    for (const QString& family : face.families) {
        if (!names.contains(family))
            names.append(family);
    }
    QString name = names.join(QLatin1String(" & "));
    if (!isRegularStyle(face.style))
        name += QLatin1Char(' ') + face.style;
    if (face.format == QLatin1String("TrueType"))
        name += QLatin1String(" (TrueType)");
    else if (face.format == QLatin1String("CFF"))
        name += QLatin1String(" (OpenType)");
    else if (!face.format.isEmpty())
        name += QLatin1String(" (") + face.format + QLatin1Char(')');
    return name;
}

std::shared_ptr<const FontSnapshot> FontSnapshot::shared()
{
    static const std::shared_ptr<const FontSnapshot> snapshot =
        std::make_shared<const FontSnapshot>(listFaces(installedFontsConfig()));
    return snapshot;
}

QList<FontFace> InstalledFacesNow()
{
    // Loaded anew: what has been installed or switched off since the start.
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config)
        return {};
    QList<FontFace> faces = listFaces(config);
    FcConfigDestroy(config);
    return faces;
}

std::shared_ptr<const FontSnapshot> FontSnapshot::fromConfigFile(const QString& configFile)
{
    FcConfig* config = FcConfigCreate();
    QList<FontFace> faces;
    const QByteArray file = configFile.toLocal8Bit();
    if (FcConfigParseAndLoad(config, reinterpret_cast<const FcChar8*>(file.constData()), FcTrue)
        && FcConfigBuildFonts(config))
        faces = listFaces(config);
    FcConfigDestroy(config);
    return std::make_shared<const FontSnapshot>(std::move(faces));
}

} // namespace platform
