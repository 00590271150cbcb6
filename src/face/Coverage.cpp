#include "face/Coverage.h"

#include "catalog/SizeText.h"
#include "face/CharacterReference.h"

#include <algorithm>

QList<SetCoverage> CoverageOf(const std::vector<char32_t>& fontCharacters)
{
    QList<SetCoverage> all;
    for (const JapaneseSet set : AllJapaneseSets) {
        SetCoverage coverage{set, 0, 0, {}};
        for (const char32_t character : CharactersOf(set)) {
            ++coverage.size;
            if (std::binary_search(fontCharacters.begin(), fontCharacters.end(), character))
                ++coverage.present;
            else
                coverage.missing += QString::fromUcs4(&character, 1);
        }
        all << coverage;
    }
    return all;
}

std::vector<int> CoverageCounts(const std::vector<char32_t>& fontCharacters)
{
    std::vector<int> counts;
    for (const JapaneseSet set : AllJapaneseSets) {
        const std::span<const char32_t> characters = CharactersOf(set);
        int present = 0;
        for (const char32_t character : fontCharacters)
            present += std::binary_search(characters.begin(), characters.end(), character) ? 1 : 0;
        counts.push_back(present);
    }
    return counts;
}

QString MissingCharactersText(const SetCoverage& coverage)
{
    QStringList lines;
    for (const char32_t character : coverage.missing.toUcs4())
        lines << QString::fromUcs4(&character, 1) + u'\u3000' + CharacterCodes(character).join(u'\u3000');
    return lines.join(u'\n');
}

QString CoverageText(const SetCoverage& coverage)
{
    return NumberText(coverage.present) + QStringLiteral(" / ") + NumberText(coverage.size)
           + QStringLiteral(" (") + QString::number(coverage.percent(), 'f', 1) + QStringLiteral("%)");
}

QStringList CoverageReportLines(const QString& fontName, const FaceDetails& details,
                                const QList<SetCoverage>& coverage)
{
    QStringList lines;
    lines << QStringLiteral("日本語の収録状況: ") + fontName;
    lines << QStringLiteral("ファイル: ") + details.path
                 + (details.index > 0 ? QStringLiteral(" (%1 番目のフォント)").arg(details.index) : QString());
    lines << QStringLiteral("スタイル: ") + details.style + QStringLiteral("　形式: ") + details.format
                 + QStringLiteral("　バージョン: ") + details.version;
    lines << QStringLiteral("埋め込み: ") + EmbeddingText(details.embedding);
    lines << QStringLiteral("字形: ") + GlyphFormsText(details.forms);
    lines << QStringLiteral("異体字シーケンス: ") + VariationSequencesText(details.forms);
    lines << QString();
    for (const SetCoverage& set : coverage) {
        lines << NameOf(set.set) + QStringLiteral(": ") + CoverageText(set);
        if (!set.missing.isEmpty()) {
            // A long list is shown in part on paper; the window and the file hold all of it.
            constexpr int Shown = 40;
            const QList<uint> missing = set.missing.toUcs4();
            QString shown = QString::fromUcs4(reinterpret_cast<const char32_t*>(missing.constData()),
                                              std::min<qsizetype>(missing.size(), Shown));
            if (missing.size() > Shown)
                shown += QStringLiteral(" ほか %1 字").arg(missing.size() - Shown);
            lines << QStringLiteral("　足りない文字: ") + shown;
        }
    }
    return lines;
}

QList<QStringList> CoverageCsvRows(const QString& fontName, const FaceDetails& details,
                                   const QList<SetCoverage>& coverage,
                                   const std::function<bool(char32_t)>& fitsFile)
{
    QList<QStringList> rows;
    rows << QStringList{QStringLiteral("フォント名"), QStringLiteral("ファイル名"), QStringLiteral("文字集合"),
                        QStringLiteral("文字数"), QStringLiteral("収録数"), QStringLiteral("収録率(%)"),
                        QStringLiteral("足りない文字")};
    for (const SetCoverage& set : coverage) {
        QStringList missing;
        for (const char32_t character : set.missing.toUcs4()) {
            missing << (fitsFile(character) ? QString::fromUcs4(&character, 1)
                                            : CodePointText(character));
        }
        rows << QStringList{fontName, details.path, NameOf(set.set), QString::number(set.size),
                            QString::number(set.present), QString::number(set.percent(), 'f', 1),
                            missing.join(QLatin1Char(' '))};
    }
    return rows;
}
