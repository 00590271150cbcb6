// Feeds arbitrary bytes to the comparison-file reader. Whatever it reads must
// lie inside the bytes, and the names it read must write out to a file that
// reads back to the same names.
//
// Built by fuzz/build-fuzzers, and replayed on its corpus by the tests.

#include "formats/ComparisonFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A copy of exactly size bytes, so that any read beyond them is caught.
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const comparison_file::Contents contents = comparison_file::read(bytes);
    if (!contents.magicOk) {
        if (!contents.names.isEmpty())
            std::abort();
        return 0;
    }
    comparison_file::Writer writer;
    for (const QString& name : contents.names) {
        if (!writer.addRecord(name, 0))
            std::abort();
    }
    const comparison_file::Contents again = comparison_file::read(writer.finish());
    if (!again.magicOk || again.ending != comparison_file::Reader::Step::End || again.names != contents.names)
        std::abort();
    return 0;
}
