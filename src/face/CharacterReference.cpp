#include "face/CharacterReference.h"

#include "face/JapaneseSets.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace {

QString twoDigits(int n)
{
    return QString::number(n).rightJustified(2, u'0');
}

// JIS X 0201's one-byte characters as code page 932 holds them: ASCII and
// the half-width katakana.
std::optional<quint8> singleByteOf(char32_t character)
{
    if (character >= 0x20 && character <= 0x7E)
        return quint8(character);
    if (character >= 0xFF61 && character <= 0xFF9F)
        return quint8(0xA1 + (character - 0xFF61));
    return std::nullopt;
}

std::optional<char32_t> decodeShiftJis(const QByteArray& bytes)
{
    QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    const QList<uint> characters = text.toUcs4();
    if (decoder.hasError() || characters.size() != 1 || characters.first() == 0xFFFD)
        return std::nullopt;
    return char32_t(characters.first());
}

} // namespace

QString ShiftJisText(char32_t character)
{
    if (const std::optional<quint8> single = singleByteOf(character))
        return QString::number(*single, 16).toUpper().rightJustified(2, u'0');
    if (const std::optional<quint16> code = ShiftJisOf(character))
        return QString::number(*code, 16).toUpper().rightJustified(4, u'0');
    return {};
}

QStringList CharacterCodes(char32_t character)
{
    QStringList codes{CodePointText(character)};
    const std::optional<JisPosition> place = JisPositionOf(character);
    if (place) {
        if (place->plane == 1 && place->inJis0208)
            codes << QStringLiteral("区点 ") + twoDigits(place->row) + u'-' + twoDigits(place->cell);
        else
            codes << QStringLiteral("面区点 ") + QString::number(place->plane) + u'-' + twoDigits(place->row) + u'-'
                         + twoDigits(place->cell);
    }
    const QString shiftJis = ShiftJisText(character);
    if (!shiftJis.isEmpty())
        codes << QStringLiteral("Shift_JIS ") + shiftJis;
    else if (!place)
        codes << QStringLiteral("JIS・Shift_JIS にない文字");
    return codes;
}

CharacterReference ParseCharacterReference(const QString& text)
{
    const QString entry = text.trimmed();
    const QString usage = QStringLiteral("文字そのもの、U+8FBB、区点 (36-52、1-47-82) か Shift_JIS (92D2) で入力してください。");
    if (entry.isEmpty())
        return {std::nullopt, usage};

    static const QRegularExpression codePoint(QStringLiteral("^[Uu]\\+([0-9A-Fa-f]{1,6})$"));
    static const QRegularExpression jisPlace(QStringLiteral("^(?:([12])-)?(\\d{1,2})-(\\d{1,2})$"));
    static const QRegularExpression shiftJis(QStringLiteral("^(?:[0-9A-Fa-f]{2}){1,2}$"));
    if (const QRegularExpressionMatch match = codePoint.match(entry); match.hasMatch()) {
        const uint value = match.captured(1).toUInt(nullptr, 16);
        if (value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return {std::nullopt, QStringLiteral("「%1」は Unicode の範囲にありません。").arg(entry)};
        return {char32_t(value), {}};
    }
    if (const QRegularExpressionMatch match = jisPlace.match(entry); match.hasMatch()) {
        const bool withPlane = match.hasCaptured(1) && !match.captured(1).isEmpty();
        const int plane = withPlane ? match.captured(1).toInt() : 1;
        const int row = match.captured(2).toInt();
        const int cell = match.captured(3).toInt();
        if (row < 1 || row > 94 || cell < 1 || cell > 94)
            return {std::nullopt, QStringLiteral("区と点は 1 から 94 までです: %1").arg(entry)};
        // Without a plane the place is JIS X 0208's, as 区点 are written.
        const std::optional<char32_t> found = CharacterAtJis(plane, row, cell);
        const std::optional<JisPosition> place = found ? JisPositionOf(*found) : std::nullopt;
        if (found && (withPlane || (place && place->inJis0208)))
            return {found, {}};
        return {std::nullopt, QStringLiteral("「%1」に当たる文字はありません。").arg(entry)};
    }
    if (entry.size() > 1 && shiftJis.match(entry).hasMatch()) {
        if (const std::optional<char32_t> found = decodeShiftJis(QByteArray::fromHex(entry.toLatin1())))
            return {found, {}};
        return {std::nullopt, QStringLiteral("Shift_JIS の「%1」に当たる文字はありません。").arg(entry)};
    }
    // The character itself; a variation selector after it names the same character.
    const QList<uint> characters = entry.toUcs4();
    const bool selectorFollows = characters.size() == 2
                                 && ((characters.at(1) >= 0xFE00 && characters.at(1) <= 0xFE0F)
                                     || (characters.at(1) >= 0xE0100 && characters.at(1) <= 0xE01EF));
    if (characters.size() == 1 || selectorFollows)
        return {char32_t(characters.first()), {}};
    return {std::nullopt, usage};
}
