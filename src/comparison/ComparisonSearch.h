#pragma once

#include <QStringList>
#include <functional>

enum class SearchCondition { Matching, Missing };

// Each outer name, in outer order and duplicates kept, that is present in
// (Matching) or absent from (Missing) the inner list. Names compare as exact
// texts: case and width count. progress(i) runs before outer name i is judged.
QStringList SearchNames(const QStringList& outer, const QStringList& inner, SearchCondition condition,
                        const std::function<void(qsizetype)>& progress = {});
