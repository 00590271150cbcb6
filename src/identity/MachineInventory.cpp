#include "identity/MachineInventory.h"

#include <QDateTime>
#include <QHash>

#include <algorithm>
#include <numeric>
#include <tuple>
#include <vector>

MachineInventoryBuild BuildMachineInventory(const QList<platform::FontFace>& faces, const FontSet& names,
                                            const QString& machineName, const QString& tool, FileFactsCache& cache,
                                            const std::function<bool(qsizetype, qsizetype)>& progress)
{
    MachineInventoryBuild build;
    // Each file is read once however many faces it holds.
    QStringList paths;
    QHash<QString, qsizetype> fileOf;
    for (const platform::FontFace& face : faces) {
        if (!fileOf.contains(face.realPath)) {
            fileOf.insert(face.realPath, paths.size());
            paths << face.realPath;
        }
    }
    qsizetype read = 0;
    const std::optional<QList<FileFacts>> files = cache.factsOf(paths, progress, &read);
    if (!files)
        return build;
    build.filesRead = read;
    DetailedInventory inventory;
    inventory.machine = machineName;
    inventory.date = QDateTime::currentDateTime().toOffsetFromUtc(QDateTime::currentDateTime().offsetFromUtc()).toString(Qt::ISODate);
    inventory.tool = tool;
    inventory.names = names.names;
    inventory.sizes = names.sizes;
    for (const FileFacts& file : *files)
        build.filesSkipped += file.faces.isEmpty() ? 1 : 0;
    for (const platform::FontFace& face : faces) {
        const FileFacts& file = files->at(fileOf.value(face.realPath));
        const auto facts = std::find_if(file.faces.cbegin(), file.faces.cend(),
                                        [&face](const FaceFacts& each) { return each.index == (face.index & 0xFFFF); });
        if (facts == file.faces.cend())
            continue;
        inventory.faces << FaceRecord{face.families, face.familyLanguages, face.style, face.path, file.size, file.sha256, *facts};
    }
    // The same machine writes the same order whatever fontconfig lists
    // first: by title as the lists sort names, then by file and face.
    std::vector<QString> titles;
    std::vector<QString> keys;
    titles.reserve(std::size_t(inventory.faces.size()));
    keys.reserve(std::size_t(inventory.faces.size()));
    for (const FaceRecord& face : std::as_const(inventory.faces)) {
        titles.push_back(face.title());
        keys.push_back(titles.back().toCaseFolded());
    }
    std::vector<qsizetype> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    const QList<FaceRecord>& records = inventory.faces;
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const FaceRecord& left = records.at(a);
        const FaceRecord& right = records.at(b);
        return std::forward_as_tuple(keys[std::size_t(a)], titles[std::size_t(a)], left.file, left.facts.index)
               < std::forward_as_tuple(keys[std::size_t(b)], titles[std::size_t(b)], right.file, right.facts.index);
    });
    QList<FaceRecord> sorted;
    sorted.reserve(records.size());
    for (const qsizetype i : order)
        sorted << records.at(i);
    inventory.faces = std::move(sorted);
    build.inventory = std::move(inventory);
    return build;
}

FontSet FontSetOf(const DetailedInventory& inventory, const QString& title)
{
    return FontSet{title, inventory.names, inventory.sizes};
}
