#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// What a font file is, read from its bytes once: its SHA-256 and, for each
// face, what the detailed inventory records of it. Reading 10,000 files
// takes time, so the facts are kept in a cache beside the user's other
// caches, keyed by what changes when a file does.

struct FaceFacts {
    int index = 0;
    QString postScriptName;
    QString version;
    QString format;
    long glyphCount = 0;
    QString embedding;  // "installable", "restricted", "preview-print", "editable", "unknown"
    QString glyphForms; // "JIS90", "JIS2004", "unknown"
    int variationSequences = 0;
    std::vector<int> coverage; // characters of each Japanese set, in AllJapaneseSets order
};

struct FileFacts {
    QString path;
    qint64 size = 0;
    QString sha256; // lower-case hex
    QList<FaceFacts> faces;
    QString error; // set when the file could not be read
};

// Reads one file: the hash and the tables from the same bytes.
FileFacts ReadFileFacts(const QString& path);

// Where the cache lives: ${XDG_CACHE_HOME:-~/.cache}/glyfaro2/file-facts.
QString FileFactsCachePath();

// The facts of many files, each read only when the cache holds nothing for
// it as it is now (same size, modification and change time, inode and
// device). A damaged cache is ignored and made anew.
class FileFactsCache {
public:
    explicit FileFactsCache(QString cachePath = FileFactsCachePath());

    // The facts of every path, in order. progress(done, total) is called
    // now and then; when it returns false the reading stops and nothing is
    // returned. read counts the files read rather than found in the cache.
    std::optional<QList<FileFacts>> factsOf(const QStringList& paths,
                                            const std::function<bool(qsizetype, qsizetype)>& progress = {},
                                            qsizetype* read = nullptr);
    // Whether the cache file could be read when it was there.
    bool wasDamaged() const { return m_damaged; }

private:
    QString m_path;
    bool m_damaged = false;
};
