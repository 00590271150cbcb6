#include "identity/FileFacts.h"

#include "face/Coverage.h"
#include "face/FaceReader.h"
#include "formats/FileStore.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <dlfcn.h>
#include <sys/stat.h>

#include <optional>

namespace {

// Written first and last: a cache cut short or of another version is
// ignored.
constexpr quint64 CacheMagic = 0x4746324641435431ULL; // "GF2FACT1"

QString embeddingCode(EmbeddingPermission permission)
{
    switch (permission) {
    case EmbeddingPermission::Installable:
        return QStringLiteral("installable");
    case EmbeddingPermission::Restricted:
        return QStringLiteral("restricted");
    case EmbeddingPermission::PreviewPrint:
        return QStringLiteral("preview-print");
    case EmbeddingPermission::Editable:
        return QStringLiteral("editable");
    case EmbeddingPermission::Unknown:
        break;
    }
    return QStringLiteral("unknown");
}

QString formsCode(const GlyphForms& forms)
{
    if (forms.jp90 && !forms.jp04)
        return QStringLiteral("JIS2004");
    if (forms.jp04 && !forms.jp90)
        return QStringLiteral("JIS90");
    return QStringLiteral("unknown");
}

// What tells that a file is still the one read: a file replaced by another
// of the same size and time has another inode and change time.
struct Stamp {
    qint64 size = -1;
    qint64 modified = 0;
    qint64 changed = 0;
    quint64 inode = 0;
    quint64 device = 0;
    bool operator==(const Stamp&) const = default;
};

std::optional<Stamp> stampOf(const QString& path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return Stamp{qint64(status.st_size), qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec,
                 qint64(status.st_ctim.tv_sec) * 1000000000 + status.st_ctim.tv_nsec, quint64(status.st_ino),
                 quint64(status.st_dev)};
}

// OpenSSL's SHA-256 uses the processor's own instructions and hashes three
// times as fast as Qt's. It is loaded when a file is first hashed rather
// than at every start of the viewer; Qt's stands in where it is missing.
QByteArray sha256(QByteArrayView bytes)
{
    using Function = unsigned char* (*)(const unsigned char*, std::size_t, unsigned char*);
    static const Function openSsl = [] {
        void* library = ::dlopen("libcrypto.so.3", RTLD_NOW | RTLD_LOCAL);
        return library ? reinterpret_cast<Function>(::dlsym(library, "SHA256")) : nullptr;
    }();
    if (!openSsl)
        return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
    QByteArray digest(32, Qt::Uninitialized);
    openSsl(reinterpret_cast<const unsigned char*>(bytes.data()), std::size_t(bytes.size()),
            reinterpret_cast<unsigned char*>(digest.data()));
    return digest;
}

struct Entry {
    Stamp stamp;
    FileFacts facts;
};

QDataStream& operator<<(QDataStream& out, const FaceFacts& face)
{
    out << qint32(face.index) << face.postScriptName << face.version << face.format << qint64(face.glyphCount)
        << face.embedding << face.glyphForms << qint32(face.variationSequences) << quint32(face.coverage.size());
    for (const int count : face.coverage)
        out << qint32(count);
    return out;
}

QDataStream& operator>>(QDataStream& in, FaceFacts& face)
{
    qint32 index = 0;
    qint64 glyphs = 0;
    qint32 sequences = 0;
    quint32 sets = 0;
    in >> index >> face.postScriptName >> face.version >> face.format >> glyphs >> face.embedding >> face.glyphForms
        >> sequences >> sets;
    // More sets than there are is a damaged file, not a reason to allocate.
    if (sets > 64) {
        in.setStatus(QDataStream::ReadCorruptData);
        return in;
    }
    face.index = index;
    face.glyphCount = long(glyphs);
    face.variationSequences = sequences;
    face.coverage.clear();
    for (quint32 i = 0; i < sets && in.status() == QDataStream::Ok; ++i) {
        qint32 count = 0;
        in >> count;
        face.coverage.push_back(count);
    }
    return in;
}

QHash<QString, Entry> readCache(const QString& path, bool& damaged)
{
    QHash<QString, Entry> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    QDataStream in(&file);
    in.setVersion(QDataStream::Qt_6_4);
    quint64 magic = 0;
    quint32 count = 0;
    in >> magic >> count;
    if (magic != CacheMagic) {
        damaged = true;
        return entries;
    }
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        Entry entry;
        quint32 faces = 0;
        in >> entry.facts.path >> entry.stamp.size >> entry.stamp.modified >> entry.stamp.changed >> entry.stamp.inode
            >> entry.stamp.device >> entry.facts.sha256 >> faces;
        if (faces > 65536)
            in.setStatus(QDataStream::ReadCorruptData);
        for (quint32 face = 0; face < faces && in.status() == QDataStream::Ok; ++face) {
            FaceFacts facts;
            in >> facts;
            entry.facts.faces << facts;
        }
        entry.facts.size = entry.stamp.size;
        entries.insert(entry.facts.path, std::move(entry));
    }
    quint64 end = 0;
    in >> end;
    if (in.status() != QDataStream::Ok || end != CacheMagic || !in.atEnd()) {
        damaged = true;
        entries.clear();
    }
    return entries;
}

QByteArray cacheBytes(const QHash<QString, Entry>& entries)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_4);
    out << CacheMagic << quint32(entries.size());
    for (const Entry& entry : entries) {
        out << entry.facts.path << entry.stamp.size << entry.stamp.modified << entry.stamp.changed << entry.stamp.inode
            << entry.stamp.device << entry.facts.sha256 << quint32(entry.facts.faces.size());
        for (const FaceFacts& face : entry.facts.faces)
            out << face;
    }
    out << CacheMagic;
    return bytes;
}

} // namespace

FileFacts ReadFileFacts(const QString& path)
{
    FileFacts facts;
    facts.path = path;
    FileBytes file;
    if (const FileResult opened = file.open(path); !opened.ok) {
        facts.error = opened.reason;
        return facts;
    }
    const QByteArrayView bytes = file.bytes();
    facts.size = bytes.size();
    facts.sha256 = QString::fromLatin1(sha256(bytes).toHex());
    const int count = FaceCountOfData(bytes);
    for (int index = 0; index < count; ++index) {
        std::vector<char32_t> characters;
        const FaceDetails details = ReadFaceDetailsFromData(bytes, path, index, &characters);
        if (!details.error.isEmpty())
            continue;
        FaceFacts face;
        face.index = index;
        face.postScriptName = details.postScriptName;
        face.version = details.version;
        face.format = details.format;
        face.glyphCount = details.glyphCount;
        face.embedding = embeddingCode(details.embedding);
        face.glyphForms = formsCode(details.forms);
        face.variationSequences = details.forms.sequences;
        face.coverage = CoverageCounts(characters);
        facts.faces << face;
    }
    if (count == 0)
        facts.error = QStringLiteral("フォントファイルを読めません（壊れているか、対応していない形式です）");
    return facts;
}

QString FileFactsCachePath()
{
    QString base = qEnvironmentVariable("XDG_CACHE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.cache");
    return base + QStringLiteral("/glyfaro2/file-facts");
}

FileFactsCache::FileFactsCache(QString cachePath) : m_path(std::move(cachePath)) {}

std::optional<QList<FileFacts>> FileFactsCache::factsOf(const QStringList& paths,
                                                        const std::function<bool(qsizetype, qsizetype)>& progress,
                                                        qsizetype* read)
{
    QHash<QString, Entry> cached = readCache(m_path, m_damaged);
    QHash<QString, Entry> kept;
    QList<FileFacts> all;
    all.reserve(paths.size());
    qsizetype fresh = 0;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (progress && i % 64 == 0 && !progress(i, paths.size()))
            return std::nullopt;
        const QString& path = paths.at(i);
        const std::optional<Stamp> stamp = stampOf(path);
        const auto found = cached.constFind(path);
        if (stamp && found != cached.cend() && found->stamp == *stamp) {
            all << found->facts;
            kept.insert(path, *found);
            continue;
        }
        FileFacts facts = ReadFileFacts(path);
        ++fresh;
        // A file that changed while it was read is not kept: the next run
        // reads it again.
        if (stamp && facts.error.isEmpty() && stampOf(path) == stamp)
            kept.insert(path, Entry{*stamp, facts});
        all << std::move(facts);
    }
    if (progress)
        progress(paths.size(), paths.size());
    if (read)
        *read = fresh;
    // Written only when something changed; a cache that cannot be written
    // costs the next run time, nothing else.
    if (fresh > 0 || kept.size() != cached.size() || m_damaged) {
        QDir().mkpath(QFileInfo(m_path).absolutePath());
        SaveFileReplacing(m_path, cacheBytes(kept));
    }
    return all;
}
