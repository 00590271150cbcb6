#pragma once

#include <QString>

// A name or a query as the find window and the inventory compare them: letter case, full
// against half width, and hiragana against katakana make no difference, so
// "ｇｏｔｈｉｃ", "Gothic" and "ごしっく" meet "IPAゴシック (IPAGothic)".
QString FoldedForMatching(const QString& text);

// Whether a folded name holds a folded query; an empty query matches all.
bool NameMatches(const QString& foldedName, const QString& foldedQuery);
