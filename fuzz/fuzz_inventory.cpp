// Feeds arbitrary bytes to the detailed-inventory reader. What it reads must
// write out to JSON that reads back to the same inventory, and an inventory
// compared with itself must come out the same throughout.
//
// Built by fuzz/build-fuzzers, and replayed on its corpus by the tests.

#include "identity/DetailedInventory.h"
#include "identity/IdentityComparison.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A copy of exactly size bytes, so that any read beyond them is caught.
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const InventoryRead read = ReadInventory(bytes);
    if (!read.inventory) {
        if (read.error.isEmpty())
            std::abort();
        return 0;
    }
    const QByteArray written = InventoryJson(*read.inventory);
    const InventoryRead again = ReadInventory(written);
    if (!again.inventory || InventoryJson(*again.inventory) != written)
        std::abort();
    const IdentityComparison itself = CompareByIdentity(*read.inventory, *read.inventory);
    if (!itself.identical())
        std::abort();
    IdentityLines(itself, QStringLiteral("左"), QStringLiteral("右"));
    return 0;
}
