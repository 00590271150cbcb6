#include "find/FontFinder.h"

#include "face/GlyphForms.h"

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
    for (const WantedCharacter& wanted : wantedOf(text)) {
        if (!characters.contains(wanted.base))
            characters << wanted.base;
    }
    return characters;
}

QList<WantedCharacter> FontFinder::wantedOf(const QString& text)
{
    // A character followed by a selector asks for that sequence; alone, for
    // the character. A selector after nothing asks for nothing.
    QList<WantedCharacter> wanted;
    const QList<uint> codePoints = text.toUcs4();
    for (qsizetype i = 0; i < codePoints.size(); ++i) {
        const char32_t character = codePoints.at(i);
        const QChar::Category category = QChar::category(character);
        if (IsVariationSelector(character) || QChar::isSpace(character) || category == QChar::Other_Control
            || category == QChar::Other_Format)
            continue;
        const char32_t next = i + 1 < codePoints.size() ? codePoints.at(i + 1) : 0;
        const WantedCharacter item{character, IsVariationSelector(next) ? next : 0};
        if (!wanted.contains(item))
            wanted << item;
    }
    return wanted;
}

const QBitArray& FontFinder::holding(WantedCharacter wanted)
{
    if (wanted.selector == 0)
        return holding(wanted.base);
    const quint64 key = (quint64(wanted.base) << 32) | wanted.selector;
    auto it = m_holdingSequence.find(key);
    if (it == m_holdingSequence.end()) {
        QBitArray fonts = holding(wanted.base);
        for (qsizetype i = 0; i < fonts.size(); ++i) {
            if (!fonts.testBit(i))
                continue;
            // The face a program asking for the family's regular style gets.
            QString path;
            int index = 0;
            for (const platform::FaceFile& face : m_fonts.faceFiles(m_fontNames.at(i))) {
                if (face.chosen && (path.isEmpty() || face.style == u"Regular")) {
                    path = face.path;
                    index = face.index;
                }
            }
            fonts.setBit(i, !path.isEmpty() && FaceHasSequence(path, index, wanted.base, wanted.selector));
        }
        it = m_holdingSequence.insert(key, fonts);
    }
    return it.value();
}

QString LackingText(const QString& lacking)
{
    QString characters;
    QStringList sequences;
    const QList<uint> codePoints = lacking.toUcs4();
    for (qsizetype i = 0; i < codePoints.size(); ++i) {
        const char32_t base = codePoints.at(i);
        if (i + 1 < codePoints.size() && IsVariationSelector(codePoints.at(i + 1))) {
            const char32_t sequence[] = {base, codePoints.at(i + 1)};
            sequences << QString::fromUcs4(sequence, 2) + QStringLiteral(" (") + SequenceText(base, sequence[1]) + u')';
            ++i;
        } else {
            characters += QString::fromUcs4(&base, 1);
        }
    }
    QStringList parts;
    if (!characters.isEmpty())
        parts << QStringLiteral("足りない文字: ") + characters;
    if (!sequences.isEmpty())
        parts << QStringLiteral("足りない異体字: ") + sequences.join(QStringLiteral("、"));
    return parts.join(QStringLiteral("　"));
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

    const QList<WantedCharacter> characters = wantedOf(text);
    QList<const QBitArray*> maps;
    QBitArray all = named;
    QBitArray any(count, characters.isEmpty());
    for (const WantedCharacter& character : characters) {
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
            if (!maps.at(c)->testBit(i)) {
                const WantedCharacter& missing = characters.at(c);
                font.lacking += QString::fromUcs4(&missing.base, 1);
                if (missing.selector != 0)
                    font.lacking += QString::fromUcs4(&missing.selector, 1);
            }
        }
        partial.append(font);
    }
    // Characters, not UTF-16 units: 𠮷 missing is one missing, and so is a
    // sequence.
    const auto missing = [](const FoundFont& font) {
        const QList<uint> codePoints = QStringView(font.lacking).toUcs4();
        return std::count_if(codePoints.cbegin(), codePoints.cend(), [](uint c) { return !IsVariationSelector(c); });
    };
    std::stable_sort(partial.begin(), partial.end(),
                     [&](const FoundFont& a, const FoundFont& b) { return missing(a) < missing(b); });
    return found + partial;
}
