// Feeds arbitrary bytes to the code page 932 decoder, and the decoded text to
// the encoders. Text that decodes encodes again without a loss and decodes to
// the same text; whatever the file encoder writes decodes cleanly.

#include "formats/Cp932Text.h"
#include "platform/TextConversion.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A copy of exactly size bytes, so that any read beyond them is caught.
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const auto text = platform::decodeCp932(bytes)) {
        const platform::Cp932Encoding encoded = platform::encodeCp932(*text);
        if (!encoded.ok())
            std::abort();
        const auto again = platform::decodeCp932(encoded.bytes);
        if (!again || *again != *text)
            std::abort();
    }

    // The same bytes read as UTF-16, which holds characters the code page
    // lacks, unpaired surrogates among them.
    const QString wide(reinterpret_cast<const QChar*>(data), qsizetype(size / 2));
    const platform::Cp932Encoding encoded = platform::encodeCp932(wide);
    const Cp932Text forFile = EncodeForFile(wide);
    if (forFile.substituted == encoded.ok())
        std::abort();
    const auto read = platform::decodeCp932(forFile.bytes);
    if (!read || read->size() > wide.size())
        std::abort();
    if (encoded.ok() && *read != wide)
        std::abort();
    return 0;
}
