#include "catalog/FontCatalogBuilder.h"

#include "catalog/FontGrouping.h"
#include "catalog/ListOrder.h"
#include "core/Messages.h"
#include "core/RegistryValues.h"

#include <future>

using namespace platform;

namespace {

// The name buffer the entry walk offers; a longer name ends the walk.
constexpr std::uint32_t EntryNameBufferChars = 1024;

// The entry names of the Fonts key; false when the key cannot be opened or
// closed.
bool readFontFileEntries(Registry& registry, const QString& windowsKeyPath, QStringList& entries)
{
    KeyHandle key = 0;
    if (registry.openKey(RootKey::LocalMachine, windowsKeyPath + QStringLiteral("\\Fonts"),
                         KeyAccess::Read, key)
        != RegSuccess)
        return false;
    for (std::uint32_t index = 0;; ++index) {
        QString name;
        if (registry.enumValueName(key, index, EntryNameBufferChars, name) != RegSuccess)
            break;
        entries.append(CutAtFirstNul(name));
    }
    return registry.closeKey(key) == RegSuccess;
}

void report(const std::function<void(const QString&)>& status, const QString& text)
{
    if (status)
        status(text);
}

} // namespace

CatalogBuildResult BuildFontCatalog(FontCatalog& catalog, Platform& platform,
                                    const QString& windowsKeyPath,
                                    const std::function<void(const QString&)>& status)
{
    catalog = FontCatalog{};
    CatalogBuildResult result;

    if (!readFontFileEntries(platform.registry, windowsKeyPath, catalog.FontFileEntries)) {
        result.fatalMessage = MessageUnexpected;
        return result;
    }

    const std::optional<QString> fontsFolder = platform.system.fontsFolder();
    if (!fontsFolder) {
        result.fatalMessage = MessageUnexpected;
        return result;
    }
    catalog.FontsFolder = CutAtFirstNul(*fontsFolder);

    const QString loading = QStringLiteral("フォント読み込み中...   ");
    const QStringList screenFonts = platform.fonts.screenFonts();
    catalog.AllFontNames.reserve(screenFonts.size());
    for (const QString& name : screenFonts) {
        report(status, loading + name);
        catalog.AllFontNames.append(name);
    }
    report(status, QStringLiteral("初期化中..."));

    // Sorting each list once at the end gives the order a sorted list box
    // would have after inserting one name at a time, without its quadratic
    // cost. The entries sort on a second core meanwhile; each sort has its
    // own collator, so they share nothing.
    auto entriesSorted = std::async(std::launch::async, [&catalog] { SortLikeListBox(catalog.FontFileEntries); });
    SortLikeListBox(catalog.AllFontNames);
    // The order is total, so a group taken in the order of the sorted whole
    // list is that group sorted.
    for (const QString& name : std::as_const(catalog.AllFontNames))
        catalog.Groups[std::size_t(FontGroupOf(name))].Names.append(name);

    std::int32_t total = 0;
    for (int group = 0; group < IndexGroupCount; ++group) {
        FontIndex& index = catalog.Groups[std::size_t(group)];
        catalog.IndexLabels[std::size_t(group)] = IndexLabelOf(group);
        index.Label = catalog.IndexLabels[std::size_t(group)];
        const auto count = std::int32_t(index.Names.size());
        catalog.IndexSummary.append(index.Label + QLatin1Char('\t') + QString::number(count)
                                    + QStringLiteral(" Fonts"));
        total += count;
    }
    catalog.IndexSummary.append(QStringLiteral("------------------"));
    catalog.IndexSummary.append(QStringLiteral("Total\t") + QString::number(total)
                                + QStringLiteral(" Fonts"));

    entriesSorted.get();

    result.consistent = catalog.AllFontNames.size() == total;
    catalog.FontTotal = total;
    return result;
}
