#include "catalog/NameMatching.h"

namespace {

// Hiragana ぁ..ゖ and the iteration marks ゝゞ sit 0x60 below their katakana.
constexpr char16_t FirstHiragana = u'ぁ';
constexpr char16_t LastHiragana = u'ゖ';
constexpr char16_t HiraganaIteration = u'ゝ';
constexpr char16_t HiraganaVoicedIteration = u'ゞ';
constexpr char16_t KatakanaOffset = 0x60;

} // namespace

QString FoldedForMatching(const QString& text)
{
    // Compatibility forms give half-width ASCII and full-width katakana, with
    // a half-width voiced mark joined to its kana.
    QString folded = text.normalized(QString::NormalizationForm_KC).toCaseFolded();
    for (QChar& c : folded) {
        const char16_t unit = c.unicode();
        if ((unit >= FirstHiragana && unit <= LastHiragana) || unit == HiraganaIteration
            || unit == HiraganaVoicedIteration)
            c = QChar(char16_t(unit + KatakanaOffset));
    }
    return folded;
}

bool NameMatches(const QString& foldedName, const QString& foldedQuery)
{
    return foldedName.contains(foldedQuery);
}
