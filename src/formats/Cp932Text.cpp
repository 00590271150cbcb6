#include "formats/Cp932Text.h"

#include "platform/TextConversion.h"

Cp932Text EncodeForFile(const QString& text)
{
    platform::Cp932Encoding encoded = platform::encodeCp932(text);
    if (encoded.ok())
        return {encoded.bytes, false};

    // The unmappable characters come in order of appearance, a surrogate
    // pair as one; replace each occurrence in turn.
    QString replaced;
    replaced.reserve(text.size());
    qsizetype next = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length =
            (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ? 2 : 1;
        const QStringView character = QStringView(text).sliced(i, length);
        const QStringView pending = QStringView(encoded.unmappable).sliced(next);
        if (pending.startsWith(character)) {
            replaced.append(QLatin1Char('?'));
            next += length;
        } else {
            replaced.append(character);
        }
        i += length;
    }
    encoded = platform::encodeCp932(replaced);
    return {encoded.bytes, true};
}
