#pragma once

#include <QString>
#include <optional>
#include <span>

// The Japanese character sets a print shop checks a font against, and what
// the character map tells of one character. The tables are made at build
// time from Debian's Unihan files and glibc's EUC-JP charmap.

enum class JapaneseSet {
    Kana,            // hiragana and katakana (JIS X 0208 rows 4 and 5)
    HalfWidthKana,   // JIS X 0201 katakana
    Jis0208NonKanji, // JIS X 0208 rows 1 to 8
    Jis0208Level1,   // JIS X 0208 level 1 kanji
    Jis0208Level2,   // JIS X 0208 level 2 kanji
    Jis0213Level3,   // JIS X 0213 level 3 kanji (plane 1)
    Jis0213Level4,   // JIS X 0213 level 4 kanji (plane 2)
    Joyo,            // jōyō kanji
    Jinmeiyo,        // jinmeiyō kanji
    Jis0213NonKanji, // the symbols and kana JIS X 0213 adds beyond JIS X 0208
};

inline constexpr JapaneseSet AllJapaneseSets[] = {
    JapaneseSet::Kana,          JapaneseSet::HalfWidthKana, JapaneseSet::Jis0208NonKanji,
    JapaneseSet::Jis0208Level1, JapaneseSet::Jis0208Level2, JapaneseSet::Jis0213Level3,
    JapaneseSet::Jis0213Level4, JapaneseSet::Joyo,          JapaneseSet::Jinmeiyo,
    JapaneseSet::Jis0213NonKanji};

// The set's characters in code point order.
std::span<const char32_t> CharactersOf(JapaneseSet set);
// The set's name as the windows and the report show it.
QString NameOf(JapaneseSet set);

// A character's place in JIS: plane 1 is JIS X 0208 (or JIS X 0213 plane 1
// for the kanji it adds), plane 2 JIS X 0213 plane 2.
struct JisPosition {
    int plane;
    int row;
    int cell;
    bool inJis0208; // plane 1 and part of JIS X 0208
};
std::optional<JisPosition> JisPositionOf(char32_t character);
// The character at a JIS place; none where the place is empty.
std::optional<char32_t> CharacterAtJis(int plane, int row, int cell);
// The Shift_JIS code of a JIS X 0208 character, computed from its row and cell.
std::optional<quint16> ShiftJisOf(char32_t character);
bool IsJoyo(char32_t character);
bool IsJinmeiyo(char32_t character);

// "U+4E9C", "U+20BB7": a code point as Unicode writes it.
QString CodePointText(char32_t character);

// One of Unicode's blocks.
struct UnicodeBlock {
    char32_t first;
    char32_t last;
    QString name;
};
// The block that holds character; none for a code point outside every block.
std::optional<UnicodeBlock> BlockOf(char32_t character);
