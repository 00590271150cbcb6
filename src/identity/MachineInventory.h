#pragma once

#include "comparison/Inventory.h"
#include "identity/DetailedInventory.h"
#include "platform/FontSnapshot.h"

#include <functional>
#include <optional>

// This machine's detailed inventory: every installed face with its file's
// facts, read through the cache, and the names a comparison file saved here
// would hold. Nothing when progress asked to stop.
struct MachineInventoryBuild {
    std::optional<DetailedInventory> inventory;
    qsizetype filesRead = 0;    // read rather than found in the cache
    qsizetype filesSkipped = 0; // could not be read at all
};
MachineInventoryBuild BuildMachineInventory(const QList<platform::FontFace>& faces, const FontSet& names,
                                            const QString& machineName, const QString& tool, FileFactsCache& cache,
                                            const std::function<bool(qsizetype, qsizetype)>& progress = {});

// The detailed inventory as the four groups of a comparison by name and size
// see it, for comparing with a comparison file.
FontSet FontSetOf(const DetailedInventory& inventory, const QString& title);
