#pragma once

#include "platform/FontList.h"

#include <QBitArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

// Whether fonts that lack some characters of the text are listed too.
enum class LackingFonts { Hidden, Listed };

// A font that qualifies, by its position in the catalogue's list.
struct FoundFont {
    int position = -1;
    // The characters of the text it lacks, in the text's order, a variation
    // sequence it lacks written whole (base and selector); empty when it
    // holds them all.
    QString lacking;
};

// What a found font lacks as the list says it: "足りない文字: 髙𠮷" and
// "足りない異体字: 葛󠄀 (U+845B U+E0100)".
QString LackingText(const QString& lacking);

// One thing a text asks of a font: a character, or a variation sequence.
struct WantedCharacter {
    char32_t base = 0;
    char32_t selector = 0; // 0 for the character alone
    bool operator==(const WantedCharacter&) const = default;
};

// Finds fonts by any of their names and by the text they must show. The
// names and character maps are read from the platform on first use and kept;
// each character's answer for every font is kept too, so a text that grows
// by one character costs one new character's look-up.
class FontFinder {
public:
    FontFinder(const QStringList& fontNames, platform::FontList& fonts);

    // The fonts whose names hold name and that can show text, in the
    // catalogue's order; with lacking fonts listed, those that hold at least
    // one of its characters follow, fewest missing first.
    QList<FoundFont> find(const QString& name, const QString& text, LackingFonts lacking);

    // Why find() gave nothing for name and text, in words a user can act on;
    // asked only after it gave nothing. Empty when nothing was asked for.
    QString whyNothing(const QString& name, const QString& text, LackingFonts lacking);

    // The font's names other than the one the catalogue shows, joined by ", ".
    QString otherNamesOf(int position);

    // The characters of a text the finder asks about: each once, in the
    // text's order, a character beyond the BMP as one; blanks and controls
    // are not asked about, since every font can leave a gap.
    static QList<char32_t> charactersOf(const QString& text);
    // The same with each variation sequence kept whole: a selector belongs
    // to the character before it.
    static QList<WantedCharacter> wantedOf(const QString& text);

private:
    void readNames();
    const QBitArray& holding(char32_t character);
    // The fonts whose face maps the sequence: asked of the faces themselves,
    // only of the fonts that hold the base character, since fontconfig's
    // character maps know no sequences.
    const QBitArray& holding(WantedCharacter wanted);

    const QStringList& m_fontNames;
    platform::FontList& m_fonts;
    bool m_namesRead = false;
    std::vector<QString> m_folded;
    QStringList m_otherNames;
    QHash<char32_t, QBitArray> m_holding;
    QHash<quint64, QBitArray> m_holdingSequence;
};
