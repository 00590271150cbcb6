#include "fontinfo/JapaneseSets.h"

#include "fontinfo/JapaneseSetsData.h"

#include <algorithm>

namespace {

using namespace japanese_data;

bool contains(std::span<const char32_t> set, char32_t character)
{
    return std::binary_search(set.begin(), set.end(), character);
}

const JisEntry* jisEntryOf(char32_t character)
{
    const JisEntry* end = JisPositions + JisPositionsSize;
    const JisEntry* it = std::lower_bound(JisPositions, end, character,
                                          [](const JisEntry& entry, char32_t c) { return entry.character < c; });
    return it != end && it->character == character ? it : nullptr;
}

} // namespace

std::span<const char32_t> CharactersOf(JapaneseSet set)
{
    switch (set) {
    case JapaneseSet::Kana:
        return {Kana, KanaSize};
    case JapaneseSet::HalfWidthKana:
        return {HalfWidthKana, HalfWidthKanaSize};
    case JapaneseSet::Jis0208NonKanji:
        return {Jis0208NonKanji, Jis0208NonKanjiSize};
    case JapaneseSet::Jis0208Level1:
        return {Jis0208Level1, Jis0208Level1Size};
    case JapaneseSet::Jis0208Level2:
        return {Jis0208Level2, Jis0208Level2Size};
    case JapaneseSet::Jis0213Level3:
        return {Jis0213Level3, Jis0213Level3Size};
    case JapaneseSet::Jis0213Level4:
        return {Jis0213Level4, Jis0213Level4Size};
    case JapaneseSet::Joyo:
        return {Joyo, JoyoSize};
    case JapaneseSet::Jinmeiyo:
        return {Jinmeiyo, JinmeiyoSize};
    }
    return {};
}

QString NameOf(JapaneseSet set)
{
    switch (set) {
    case JapaneseSet::Kana:
        return QStringLiteral("ひらがな・カタカナ");
    case JapaneseSet::HalfWidthKana:
        return QStringLiteral("半角カタカナ");
    case JapaneseSet::Jis0208NonKanji:
        return QStringLiteral("JIS X 0208 非漢字");
    case JapaneseSet::Jis0208Level1:
        return QStringLiteral("JIS 第1水準漢字");
    case JapaneseSet::Jis0208Level2:
        return QStringLiteral("JIS 第2水準漢字");
    case JapaneseSet::Jis0213Level3:
        return QStringLiteral("JIS X 0213 第3水準漢字");
    case JapaneseSet::Jis0213Level4:
        return QStringLiteral("JIS X 0213 第4水準漢字");
    case JapaneseSet::Joyo:
        return QStringLiteral("常用漢字");
    case JapaneseSet::Jinmeiyo:
        return QStringLiteral("人名用漢字");
    }
    return {};
}

std::optional<JisPosition> JisPositionOf(char32_t character)
{
    const JisEntry* entry = jisEntryOf(character);
    if (!entry)
        return std::nullopt;
    const bool level3 = contains(CharactersOf(JapaneseSet::Jis0213Level3), character);
    return JisPosition{entry->plane, entry->row, entry->cell, entry->plane == 1 && !level3};
}

std::optional<quint16> ShiftJisOf(char32_t character)
{
    const std::optional<JisPosition> place = JisPositionOf(character);
    if (!place || !place->inJis0208)
        return std::nullopt;
    // Two rows share a lead byte; the odd row takes the lower trail bytes.
    const int row = place->row;
    const int cell = place->cell;
    const int lead = (row + 1) / 2 + (row <= 62 ? 0x80 : 0xC0);
    int trail = row % 2 ? cell + 0x3F : cell + 0x9E;
    if (row % 2 && cell >= 64)
        ++trail;
    return quint16(lead << 8 | trail);
}

bool IsJoyo(char32_t character)
{
    return contains(CharactersOf(JapaneseSet::Joyo), character);
}

bool IsJinmeiyo(char32_t character)
{
    return contains(CharactersOf(JapaneseSet::Jinmeiyo), character);
}

std::optional<UnicodeBlock> BlockOf(char32_t character)
{
    const BlockEntry* end = Blocks + BlocksSize;
    const BlockEntry* it = std::upper_bound(Blocks, end, character,
                                            [](char32_t c, const BlockEntry& block) { return c < block.first; });
    if (it == Blocks)
        return std::nullopt;
    --it;
    if (character > it->last)
        return std::nullopt;
    return UnicodeBlock{it->first, it->last, QString::fromLatin1(it->name)};
}

QString CodePointText(char32_t character)
{
    return QStringLiteral("U+") + QString::number(quint32(character), 16).toUpper().rightJustified(4, u'0');
}
