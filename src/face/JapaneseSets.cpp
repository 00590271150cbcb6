#include "face/JapaneseSets.h"

#include "face/JapaneseSetsData.h"

#include <QHash>

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

// The blocks a Japanese user meets, by the names Japanese references give
// them; the others keep Unicode's English names.
QString japaneseBlockName(const char* english)
{
    static const QHash<QByteArray, QString> names = [] {
        static const char* const pairs[][2] = {
            {"Basic Latin", "基本ラテン文字"},
            {"Latin-1 Supplement", "ラテン1補助"},
            {"Latin Extended-A", "ラテン文字拡張A"},
            {"Latin Extended-B", "ラテン文字拡張B"},
            {"Latin Extended Additional", "ラテン文字拡張追加"},
            {"Spacing Modifier Letters", "前進を伴う修飾文字"},
            {"Combining Diacritical Marks", "ダイアクリティカルマーク"},
            {"Greek and Coptic", "ギリシア文字及びコプト文字"},
            {"Cyrillic", "キリル文字"},
            {"General Punctuation", "一般句読点"},
            {"Letterlike Symbols", "文字様記号"},
            {"Number Forms", "数字に準じるもの"},
            {"Arrows", "矢印"},
            {"Mathematical Operators", "数学記号"},
            {"Miscellaneous Technical", "その他の技術用記号"},
            {"Enclosed Alphanumerics", "囲み英数字"},
            {"Box Drawing", "罫線素片"},
            {"Block Elements", "ブロック要素"},
            {"Geometric Shapes", "幾何学模様"},
            {"Miscellaneous Symbols", "その他の記号"},
            {"Dingbats", "装飾記号"},
            {"CJK Radicals Supplement", "CJK部首補助"},
            {"Kangxi Radicals", "康煕部首"},
            {"Ideographic Description Characters", "漢字構成記述文字"},
            {"CJK Symbols and Punctuation", "CJKの記号及び句読点"},
            {"Hiragana", "平仮名"},
            {"Katakana", "片仮名"},
            {"Kanbun", "漢文用記号"},
            {"CJK Strokes", "CJKの筆画"},
            {"Katakana Phonetic Extensions", "片仮名拡張"},
            {"Enclosed CJK Letters and Months", "囲みCJK文字・月"},
            {"CJK Compatibility", "CJK互換用文字"},
            {"CJK Unified Ideographs", "CJK統合漢字"},
            {"Private Use Area", "私用領域"},
            {"CJK Compatibility Ideographs", "CJK互換漢字"},
            {"Variation Selectors", "異体字セレクタ"},
            {"Vertical Forms", "縦書き形"},
            {"CJK Compatibility Forms", "CJK互換形"},
            {"Halfwidth and Fullwidth Forms", "半角・全角形"},
            {"Kana Extended-B", "仮名拡張B"},
            {"Kana Supplement", "仮名補助"},
            {"Kana Extended-A", "仮名拡張A"},
            {"Small Kana Extension", "小書き仮名拡張"},
            {"Enclosed Ideographic Supplement", "囲み漢字補助"},
            {"CJK Compatibility Ideographs Supplement", "CJK互換漢字補助"},
            {"Variation Selectors Supplement", "異体字セレクタ補助"},
        };
        QHash<QByteArray, QString> table;
        for (const auto& pair : pairs)
            table.insert(QByteArray(pair[0]), QString::fromUtf8(pair[1]));
        return table;
    }();
    const QByteArray name(english);
    if (const auto found = names.constFind(name); found != names.constEnd())
        return *found;
    // "CJK Unified Ideographs Extension B" and its later letters.
    const QByteArray extension("CJK Unified Ideographs Extension ");
    if (name.startsWith(extension))
        return QStringLiteral("CJK統合漢字拡張") + QString::fromLatin1(name.mid(extension.size()));
    return QString::fromLatin1(name);
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
    case JapaneseSet::Jis0213NonKanji:
        return {Jis0213NonKanji, Jis0213NonKanjiSize};
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
    case JapaneseSet::Jis0213NonKanji:
        return QStringLiteral("JIS X 0213 非漢字");
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

std::optional<char32_t> CharacterAtJis(int plane, int row, int cell)
{
    // The table is keyed by character; a place is asked for once per entry
    // in the go-to field, so a walk is quick enough.
    for (std::size_t i = 0; i < JisPositionsSize; ++i) {
        const JisEntry& entry = JisPositions[i];
        if (entry.plane == plane && entry.row == row && entry.cell == cell)
            return entry.character;
    }
    return std::nullopt;
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
    return UnicodeBlock{it->first, it->last, japaneseBlockName(it->name)};
}

QString CodePointText(char32_t character)
{
    return QStringLiteral("U+") + QString::number(quint32(character), 16).toUpper().rightJustified(4, u'0');
}
