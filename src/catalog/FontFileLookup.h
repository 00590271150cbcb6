#pragma once

#include "catalog/FontCatalog.h"
#include "platform/Platform.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// A font's file as the lookup found it. Not found: "不明", "不明", 0.
struct FontFileInfo {
    QString sizeText;
    QString filePath;
    qint64 sizeBytes = 0;
    bool matched = false;
    // 2 when the Fonts key cannot be opened or closed: the caller shows the
    // message and ends the program.
    int fatalMessage = -1;
};

// Finds the file that holds a font: a Fonts-key entry whose name contains the
// font name (a leading "@" dropped), then the file that entry names. Among
// the entries that contain it, an entry that carries the name as one of its
// family names, with no style after it, wins: that is the family's regular
// face, and a family's file must not depend on how the entries happen to
// sort ("DejaVu Sans (TrueType)" before "DejaVu Sans & DejaVu Sans Condensed
// Condensed (TrueType)"). Of those the shortest name wins, so a face with a
// style added loses to the plain one; otherwise the first in sorted order.
// Built once; the entries are indexed by character trigrams so a lookup does
// not read every entry.
class FontFileLookup {
public:
    FontFileLookup(const FontCatalog& catalog, platform::Platform& platform,
                   const QString& windowsKeyPath);

    FontFileInfo LookupFontFile(const QString& fontName) const;

    // The position in FontFileEntries of the entry the lookup takes for
    // searchText, by the rule above; nullopt when no entry contains it.
    std::optional<qsizetype> entryFor(const QString& searchText) const;

    // How well an entry that contains searchText stands for it: lower is
    // better, ties go to the earlier entry.
    static int entryRank(const QString& entry, const QString& searchText);

private:
    void buildIndex();
    std::optional<qsizetype> walkAll(const QString& searchText) const;
    // Keeps position when its entry contains searchText and ranks better than best.
    void offer(qsizetype position, const QString& searchText, std::optional<qsizetype>& best, int& bestRank) const;

    QStringList m_entries;
    QString m_fontsFolder;
    platform::Registry& m_registry;
    platform::System& m_system;
    QString m_fontsKeyPath;
    // Trigram -> where its ascending entry positions lie in m_postings. One
    // flat array, not a list per trigram: thousands of fonts hold hundreds
    // of thousands of trigrams, mostly rare ones.
    struct Span {
        qint32 start = 0;
        qint32 count = 0;
    };
    QHash<quint64, Span> m_trigrams;
    std::vector<qint32> m_postings;
    // Texts too short for a trigram are few and repeat; walk each once.
    mutable QHash<QString, std::optional<qsizetype>> m_shortTexts;
};
