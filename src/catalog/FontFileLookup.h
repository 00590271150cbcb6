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

// Finds the file that holds a font: the first Fonts-key entry, in sorted
// order, whose name contains the font name (a leading "@" dropped), then the
// file that entry names. Built once; the entries are indexed by character
// trigrams so a lookup does not read every entry.
class FontFileLookup {
public:
    FontFileLookup(const FontCatalog& catalog, platform::Platform& platform,
                   const QString& windowsKeyPath);

    FontFileInfo LookupFontFile(const QString& fontName) const;

    // The position in FontFileEntries of the first entry that contains
    // searchText exactly; nullopt when none does.
    std::optional<qsizetype> firstEntryContaining(const QString& searchText) const;

private:
    void buildIndex();
    std::optional<qsizetype> walkAll(const QString& searchText) const;

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
