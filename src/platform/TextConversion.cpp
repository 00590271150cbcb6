#include "platform/TextConversion.h"

#include <QHash>
#include <QStringDecoder>
#include <QStringEncoder>
#include <string_view>

namespace platform {

namespace {

constexpr char16_t VoicedMark = 0xFF9E;
constexpr char16_t SemiVoicedMark = 0xFF9F;

// A full-width character's half-width form: the base character and, for
// voiced and semi-voiced kana, the separate mark that follows it.
struct HalfForm {
    char16_t base = 0;
    char16_t mark = 0;
};

QHash<char16_t, HalfForm> buildKanaTable()
{
    QHash<char16_t, HalfForm> table;

    // The full-width counterparts of U+FF61 .. U+FF9F, in code order.
    const std::u16string_view halfWidthOrder =
        u"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテト"
        u"ナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜";
    for (std::size_t i = 0; i < halfWidthOrder.size(); ++i)
        table.insert(halfWidthOrder[i], {char16_t(0xFF61 + i), 0});
    // The combining marks have the same half-width forms as the spacing ones.
    table.insert(u'\u3099', {VoicedMark, 0});
    table.insert(u'\u309A', {SemiVoicedMark, 0});

    // In the full-width block the voiced form directly follows its base, and
    // for the h-row the semi-voiced form follows the voiced one.
    for (char16_t base : std::u16string_view(u"カキクケコサシスセソタチツテト"))
        table.insert(char16_t(base + 1), {table.value(base).base, VoicedMark});
    for (char16_t base : std::u16string_view(u"ハヒフヘホ")) {
        table.insert(char16_t(base + 1), {table.value(base).base, VoicedMark});
        table.insert(char16_t(base + 2), {table.value(base).base, SemiVoicedMark});
    }
    table.insert(u'ヴ', {table.value(u'ウ').base, VoicedMark});
    table.insert(u'ヷ', {table.value(u'ワ').base, VoicedMark});
    table.insert(u'ヺ', {table.value(u'ヲ').base, VoicedMark});
    return table;
}

const QHash<char16_t, HalfForm>& kanaTable()
{
    static const QHash<char16_t, HalfForm> table = buildKanaTable();
    return table;
}

constexpr const char* Cp932Name = "windows-31j";

} // namespace

QString toHalfWidth(const QString& text)
{
    const auto& kana = kanaTable();
    QString result;
    result.reserve(text.size());
    for (QChar ch : text) {
        const char16_t code = ch.unicode();
        if (code >= 0xFF01 && code <= 0xFF5E) {
            result.append(QChar(char16_t(code - 0xFEE0)));
        } else if (code == 0x3000) {
            result.append(QLatin1Char(' '));
        } else if (auto it = kana.constFind(code); it != kana.constEnd()) {
            result.append(QChar(it->base));
            if (it->mark)
                result.append(QChar(it->mark));
        } else {
            result.append(ch);
        }
    }
    return result;
}

Cp932Encoding encodeCp932(const QString& text)
{
    Cp932Encoding encoding;
    QStringEncoder encoder(Cp932Name);
    encoding.bytes = encoder.encode(text);
    // The encoder holds back a high surrogate at the end, waiting for its
    // other half, and reports no error: half a pair is no character.
    const auto unpairedAt = [&](qsizetype i) {
        const QChar ch = text.at(i);
        if (ch.isHighSurrogate())
            return i + 1 == text.size() || !text.at(i + 1).isLowSurrogate();
        return ch.isLowSurrogate() && (i == 0 || !text.at(i - 1).isHighSurrogate());
    };
    bool unpaired = false;
    for (qsizetype i = 0; i < text.size() && !unpaired; ++i)
        unpaired = unpairedAt(i);
    if (!encoder.hasError() && !unpaired)
        return encoding;

    // The encoder only says that something failed; encode each character
    // (a surrogate pair as one) on its own to name the ones that did.
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length =
            (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
                ? 2
                : 1;
        const QString character = text.mid(i, length);
        QStringEncoder single(Cp932Name);
        const QByteArray bytes = single.encode(character);
        Q_UNUSED(bytes);
        if (single.hasError() || (length == 1 && unpairedAt(i)))
            encoding.unmappable += character;
        i += length;
    }
    // Should a failure not be pinned on any single character, the bytes are
    // still untrustworthy; report the whole text rather than claim success.
    if (encoding.unmappable.isEmpty())
        encoding.unmappable = text;
    return encoding;
}

std::optional<QString> decodeCp932(const QByteArray& bytes)
{
    // Stateless: a double-byte character cut at the end is an error instead
    // of being kept back silently for a next call that never comes.
    QStringDecoder decoder(Cp932Name, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace platform
