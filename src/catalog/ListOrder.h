#pragma once

#include <QStringList>

// Sorts like a sorted list box on a Japanese system: case-insensitive in the
// Japanese collation whatever the process locale, duplicates kept. Names that collate equal (differing only in
// case, say) are ordered by their code points, so the result does not depend
// on the order the names came in.
void SortLikeListBox(QStringList& names);
