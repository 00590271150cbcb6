#pragma once

#include <QStringList>

// Sorts like a sorted list box: case-insensitive, by code point once the case
// is folded, the same in every locale, duplicates kept. Names that fold
// equal (differing only in case, say) are ordered by their code points, so
// the result does not depend on the order the names came in.
void SortLikeListBox(QStringList& names);
