// Feeds arbitrary UTF-16 text to the narrow conversion that files font names
// under their index letter. The result keeps every character it does not map,
// maps each character to at most two, and converting it again changes nothing.

#include "platform/TextConversion.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text(reinterpret_cast<const QChar*>(data), qsizetype(size / 2));
    const QString half = platform::toHalfWidth(text);
    if (half.size() < text.size() || half.size() > 2 * text.size())
        std::abort();
    if (platform::toHalfWidth(half) != half)
        std::abort();
    // Converting character by character gives the same text: no character
    // depends on its neighbours.
    QString pieces;
    for (QChar ch : text)
        pieces += platform::toHalfWidth(QString(ch));
    if (pieces != half)
        std::abort();
    return 0;
}
