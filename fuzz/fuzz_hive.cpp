// Feeds arbitrary bytes to the settings hive reader. A text that reads back
// must write out to a text that reads back to the same keys and values.
//
// Built by fuzz/build-fuzzers, and replayed on its corpus by the tests.

#include "platform/HiveDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto parsed = platform::HiveDocument::parse(
        QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!parsed)
        return 0;
    const QByteArray text = parsed->toText();
    const auto again = platform::HiveDocument::parse(text);
    if (!again || again->toText() != text)
        std::abort();
    return 0;
}
