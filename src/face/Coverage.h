#pragma once

#include "face/FaceReader.h"
#include "face/JapaneseSets.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// How much of one Japanese character set a font holds.
struct SetCoverage {
    JapaneseSet set;
    int present = 0;
    int size = 0;
    QString missing; // the characters it lacks, in code point order
    double percent() const { return size > 0 ? 100.0 * present / size : 0.0; }
};

// Every set against a font's characters (sorted, as CharactersOfFace gives them).
QList<SetCoverage> CoverageOf(const std::vector<char32_t>& fontCharacters);

// How many characters of each set (in AllJapaneseSets order) a font holds:
// the counts alone, quick for a font of few characters.
std::vector<int> CoverageCounts(const std::vector<char32_t>& fontCharacters);

// The characters a set lacks as the details window lists them, a line a
// character with its codes: "≒　U+2252　区点 02-66　Shift_JIS 81E0".
QString MissingCharactersText(const SetCoverage& coverage);

// "2,965 / 2,965 (100.0%)"
QString CoverageText(const SetCoverage& coverage);

// The report of one face as lines of text: what the details window copies and
// what is printed, one A4 page a font.
QStringList CoverageReportLines(const QString& fontName, const FaceDetails& details,
                                const QList<SetCoverage>& coverage);

// The same as rows for a comma-separated file: a header row, then one row a
// set. A missing character the file's code page cannot hold is written as
// its code point (U+XXXX), so that nothing is lost.
QList<QStringList> CoverageCsvRows(const QString& fontName, const FaceDetails& details,
                                   const QList<SetCoverage>& coverage,
                                   const std::function<bool(char32_t)>& fitsFile);
