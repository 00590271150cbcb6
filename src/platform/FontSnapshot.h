#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

typedef struct _FcPattern FcPattern;

namespace platform {

// One face of an installed font file, as the font configuration lists it.
struct FontFace {
    QString path;            // as listed
    QString realPath;        // symlinks resolved; equal to path when nothing to resolve
    int index = 0;           // face number inside a collection
    QStringList families;    // every family name the face carries
    QStringList familyLanguages; // language of each family name, same order
    QString style;           // the English style name where there is one
    QString format;          // "TrueType", "CFF", "Type 1", ...
};

// The face a fontconfig pattern describes, its path as listed; none for a
// named instance of a variable font or a face without a family name.
std::optional<FontFace> FaceOfPattern(FcPattern* font);

// Every face installed now, from the font configuration loaded anew rather
// than the listing made at start.
QList<FontFace> InstalledFacesNow();

struct FontFileEntry {
    QString name; // "Family & 別名 Bold (TrueType)"
    QString path;
};

// The installed fonts, read once: the screen-font names and the font file
// entries of the system Fonts key both come from the same listing.
class FontSnapshot {
public:
    explicit FontSnapshot(QList<FontFace> faces);

    // The process-wide listing from the current font configuration (the one
    // FONTCONFIG_FILE names, if set), made on first use.
    static std::shared_ptr<const FontSnapshot> shared();
    // A listing from a configuration file of its own, apart from the shared one.
    static std::shared_ptr<const FontSnapshot> fromConfigFile(const QString& configFile);

    // One name per family: the Japanese name where the face has one, else its
    // first name. Exact duplicates are dropped; names differing in case stay.
    const QStringList& screenFonts() const { return m_screenFonts; }
    // One entry per face, named as the system Fonts key names them.
    const QList<FontFileEntry>& fileEntries() const { return m_fileEntries; }

    // The family name the drawing code knows a screen font by, where it is
    // not the screen name itself (a Japanese name over an English first name).
    QString drawingFamily(const QString& screenName) const { return m_drawingFamilies.value(screenName, screenName); }
    // The files whose faces the drawing code files under a family.
    QStringList drawingFiles(const QString& family) const;

    static QString screenName(const FontFace& face);
    static QString entryName(const FontFace& face);

private:
    QStringList m_screenFonts;
    QList<FontFileEntry> m_fileEntries;
    QHash<QString, QString> m_drawingFamilies;
    // Nearly every family is drawn from one file; the few with more keep
    // the others apart.
    QHash<QString, QString> m_drawingFile;
    QHash<QString, QStringList> m_moreDrawingFiles;
};

using FontSnapshotSource = std::function<std::shared_ptr<const FontSnapshot>()>;

} // namespace platform
