#include "find/FontFinder.h"

#include "catalog/NameMatching.h"

#include <algorithm>

FontFinder::FontFinder(const QStringList& fontNames, platform::FontList& fonts)
    : m_fontNames(fontNames)
    , m_fonts(fonts)
{
}

void FontFinder::readNames()
{
    if (m_namesRead)
        return;
    m_namesRead = true;
    const qsizetype count = m_fontNames.size();
    m_folded.reserve(std::size_t(count));
    m_otherNames.reserve(count);
    for (const QString& shown : m_fontNames) {
        QStringList others;
        for (const platform::FamilyName& family : m_fonts.familyNames(shown)) {
            if (family.name != shown && !others.contains(family.name))
                others << family.name;
        }
        // A line feed between the names keeps a query from matching across two.
        m_folded.push_back(FoldedForMatching(others.isEmpty() ? shown : shown + u'\n' + others.join(u'\n')));
        m_otherNames << others.join(QStringLiteral(", "));
    }
}

namespace {

bool holdsKana(const QString& text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= 0x3041 && u <= 0x30FF) || (u >= 0xFF66 && u <= 0xFF9D);
    });
}

} // namespace

QString FontFinder::whyNothing(const QString& name, const QString& text, LackingFonts lacking)
{
    const QString wanted = name.trimmed();
    if (wanted.isEmpty() && charactersOf(text).isEmpty())
        return {};
    if (!wanted.isEmpty() && find(name, QString(), lacking).isEmpty()) {
        QString reason = QStringLiteral("名前に「%1」を含むフォントはありません。").arg(wanted);
        // Folding makes kana match kana in any width, but a name written in
        // kanji cannot be found by its reading.
        if (holdsKana(wanted))
            reason += QStringLiteral("漢字の名前は読みでは見つかりません。漢字か英字で入力してください（例: 明朝、mincho）。");
        return reason;
    }
    const QString shown = text.trimmed();
    QString reason = wanted.isEmpty()
                         ? QStringLiteral("「%1」をすべて表示できるフォントはありません。").arg(shown)
                         : QStringLiteral("名前に「%1」を含むフォントに、「%2」をすべて表示できるものはありません。").arg(wanted, shown);
    if (lacking == LackingFonts::Hidden)
        reason += QStringLiteral("「一部の文字が足りないフォントも表示」を選ぶと、一部だけ表示できるフォントも並びます。");
    else
        reason += QStringLiteral("この文字を 1 字でも表示できるフォントもありません。");
    return reason;
}

QString FontFinder::otherNamesOf(int position)
{
    readNames();
    return m_otherNames.value(position);
}

QList<char32_t> FontFinder::charactersOf(const QString& text)
{
    QList<char32_t> characters;
    for (const char32_t character : text.toUcs4()) {
        const QChar::Category category = QChar::category(character);
        if (QChar::isSpace(character) || category == QChar::Other_Control || category == QChar::Other_Format)
            continue;
        if (!characters.contains(character))
            characters << character;
    }
    return characters;
}

const QBitArray& FontFinder::holding(char32_t character)
{
    auto it = m_holding.find(character);
    if (it == m_holding.end()) {
        QBitArray fonts(m_fontNames.size());
        for (qsizetype i = 0; i < m_fontNames.size(); ++i) {
            if (m_fonts.hasCharacter(m_fontNames.at(i), character))
                fonts.setBit(i);
        }
        it = m_holding.insert(character, fonts);
    }
    return it.value();
}

QList<FoundFont> FontFinder::find(const QString& name, const QString& text, LackingFonts lacking)
{
    readNames();
    const qsizetype count = m_fontNames.size();
    QBitArray named(count, true);
    if (const QString query = FoldedForMatching(name); !query.isEmpty()) {
        for (qsizetype i = 0; i < count; ++i)
            named.setBit(i, NameMatches(m_folded[std::size_t(i)], query));
    }

    const QList<char32_t> characters = charactersOf(text);
    QList<const QBitArray*> maps;
    QBitArray all = named;
    QBitArray any(count, characters.isEmpty());
    for (const char32_t character : characters) {
        const QBitArray& fonts = holding(character);
        maps << &fonts;
        all &= fonts;
        any |= fonts;
    }

    QList<FoundFont> found;
    for (qsizetype i = 0; i < count; ++i) {
        if (all.testBit(i))
            found.append(FoundFont{int(i), {}});
    }
    if (lacking == LackingFonts::Hidden || characters.isEmpty())
        return found;

    QList<FoundFont> partial;
    for (qsizetype i = 0; i < count; ++i) {
        if (all.testBit(i) || !named.testBit(i) || !any.testBit(i))
            continue;
        FoundFont font{int(i), {}};
        for (qsizetype c = 0; c < characters.size(); ++c) {
            if (!maps.at(c)->testBit(i))
                font.lacking += QString::fromUcs4(&characters.at(c), 1);
        }
        partial.append(font);
    }
    // Characters, not UTF-16 units: 𠮷 missing is one missing.
    const auto missing = [](const FoundFont& font) { return QStringView(font.lacking).toUcs4().size(); };
    std::stable_sort(partial.begin(), partial.end(),
                     [&](const FoundFont& a, const FoundFont& b) { return missing(a) < missing(b); });
    return found + partial;
}
