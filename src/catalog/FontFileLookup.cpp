#include "catalog/FontFileLookup.h"

#include "catalog/SizeText.h"
#include "core/Messages.h"
#include "core/RegistryValues.h"

#include <QFileInfo>

#include <climits>

using namespace platform;

namespace {

constexpr qsizetype TrigramLength = 3;

quint64 trigramAt(const QString& text, qsizetype position)
{
    return quint64(text.at(position).unicode()) << 32
           | quint64(text.at(position + 1).unicode()) << 16
           | quint64(text.at(position + 2).unicode());
}

FontFileInfo notFound()
{
    return {UnknownText, UnknownText, 0, false, -1};
}

} // namespace

FontFileLookup::FontFileLookup(const FontCatalog& catalog, Platform& platform,
                               const QString& windowsKeyPath)
    : m_entries(catalog.FontFileEntries)
    , m_fontsFolder(catalog.FontsFolder)
    , m_registry(platform.registry)
    , m_system(platform.system)
    , m_fontsKeyPath(windowsKeyPath + QStringLiteral("\\FONTS"))
{
    buildIndex();
}

void FontFileLookup::buildIndex()
{
    // Two passes: count each trigram's entries, then place them. A trigram
    // that repeats inside one entry is listed once; positions arrive in
    // ascending order.
    const auto forEachTrigram = [this](auto&& visit) {
        for (qsizetype position = 0; position < m_entries.size(); ++position) {
            const QString& entry = m_entries.at(position);
            for (qsizetype i = 0; i + TrigramLength <= entry.size(); ++i)
                visit(trigramAt(entry, i), qint32(position));
        }
    };
    QHash<quint64, qint32> lastPosition;
    forEachTrigram([&](quint64 trigram, qint32 position) {
        auto last = lastPosition.find(trigram);
        if (last == lastPosition.end()) {
            lastPosition.insert(trigram, position);
            m_trigrams.insert(trigram, {0, 1});
        } else if (*last != position) {
            *last = position;
            ++m_trigrams[trigram].count;
        }
    });
    qint32 start = 0;
    for (Span& span : m_trigrams) {
        span.start = start;
        start += span.count;
        span.count = 0;
    }
    m_postings.resize(std::size_t(start));
    lastPosition.clear();
    forEachTrigram([&](quint64 trigram, qint32 position) {
        auto last = lastPosition.find(trigram);
        if (last != lastPosition.end() && *last == position)
            return;
        lastPosition.insert(trigram, position);
        Span& span = m_trigrams[trigram];
        m_postings[std::size_t(span.start + span.count++)] = position;
    });
}

int FontFileLookup::entryRank(const QString& entry, const QString& searchText)
{
    // Names that merely contain the text keep the sorted order among
    // themselves ("Courier 10,12,15" before "Courier New (TrueType)").
    constexpr int Contained = INT_MAX;
    if (searchText.isEmpty())
        return Contained;
    const QLatin1String joiner(" & ");
    QStringView names(entry);
    const qsizetype format = names.lastIndexOf(QLatin1String(" ("));
    if (format > 0 && names.endsWith(u')'))
        names = names.first(format);
    const qsizetype length = searchText.size();
    const bool atStart = names.startsWith(searchText)
                         && (names.size() == length || names.sliced(length).startsWith(joiner));
    const bool atEnd = names.size() > length && names.endsWith(searchText)
                       && names.first(names.size() - length).endsWith(joiner);
    const bool inside = names.contains(joiner + searchText + joiner);
    return atStart || atEnd || inside ? int(names.size()) : Contained;
}

void FontFileLookup::offer(qsizetype position, const QString& searchText, std::optional<qsizetype>& best,
                           int& bestRank) const
{
    const QString& entry = m_entries.at(position);
    if (!entry.contains(searchText, Qt::CaseSensitive))
        return;
    const int rank = entryRank(entry, searchText);
    if (!best || rank < bestRank) {
        best = position;
        bestRank = rank;
    }
}

std::optional<qsizetype> FontFileLookup::walkAll(const QString& searchText) const
{
    std::optional<qsizetype> best;
    int bestRank = 0;
    for (qsizetype position = 0; position < m_entries.size(); ++position)
        offer(position, searchText, best, bestRank);
    return best;
}

std::optional<qsizetype> FontFileLookup::entryFor(const QString& searchText) const
{
    if (searchText.size() < TrigramLength) {
        auto cached = m_shortTexts.constFind(searchText);
        if (cached != m_shortTexts.constEnd())
            return *cached;
        const std::optional<qsizetype> found = walkAll(searchText);
        m_shortTexts.insert(searchText, found);
        return found;
    }

    // Every entry that contains the text holds each of its trigrams, so the
    // postings of any one trigram list all candidates in entry order; the
    // rarest one lists the fewest.
    const Span* rarest = nullptr;
    for (qsizetype i = 0; i + TrigramLength <= searchText.size(); ++i) {
        auto span = m_trigrams.constFind(trigramAt(searchText, i));
        if (span == m_trigrams.constEnd())
            return std::nullopt;
        if (!rarest || span->count < rarest->count)
            rarest = &*span;
    }
    std::optional<qsizetype> best;
    int bestRank = 0;
    for (qint32 i = 0; i < rarest->count; ++i)
        offer(m_postings[std::size_t(rarest->start + i)], searchText, best, bestRank);
    return best;
}

FontFileInfo FontFileLookup::LookupFontFile(const QString& fontName) const
{
    // The vertical-writing form "@name" lives in the same file as "name".
    const QString searchText = fontName.startsWith(QLatin1Char('@')) ? fontName.mid(1) : fontName;
    const std::optional<qsizetype> position = entryFor(searchText);
    if (!position)
        return notFound();

    KeyHandle key = 0;
    if (m_registry.openKey(RootKey::LocalMachine, m_fontsKeyPath, KeyAccess::Read, key)
        != RegSuccess) {
        FontFileInfo fatal = notFound();
        fatal.fatalMessage = MessageUnexpected;
        return fatal;
    }
    const QString reference = ReadRegString(m_registry, key, m_entries.at(*position));
    if (m_registry.closeKey(key) != RegSuccess) {
        FontFileInfo fatal = notFound();
        fatal.fatalMessage = MessageUnexpected;
        return fatal;
    }
    // An entry whose value cannot be read names no file at all.
    if (reference == UnknownText)
        return notFound();

    // A reference without a separator is a bare file name in the fonts
    // folder. The path keeps its case: an upper-cased path names a different
    // file on a case-sensitive file system.
    const QString separator = m_system.pathSeparator();
    const QString path =
        reference.contains(separator) ? reference : m_fontsFolder + separator + reference;

    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable())
        return notFound();
    const qint64 size = file.size();
    return {ShortSizeText(size), path, size, true, -1};
}
