#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

inline constexpr int IndexGroupCount = 28;
inline constexpr int SymbolGroup = 0;
inline constexpr int OtherGroup = 27;

// One index group: its label and its fonts, kept sorted.
struct FontIndex {
    QString Label;
    QStringList Names;
};

// The installed fonts, built once at start-up and read-only afterwards.
// AllFontNames, FontFileEntries and each group's Names are sorted like a list
// box (case-insensitive, duplicates kept); IndexSummary keeps its line order.
struct FontCatalog {
    QStringList FontFileEntries;
    QString FontsFolder;
    QStringList AllFontNames;
    std::array<FontIndex, IndexGroupCount> Groups;
    std::array<QString, IndexGroupCount> IndexLabels;
    std::int32_t FontTotal = 0;
    QStringList IndexSummary;
};
