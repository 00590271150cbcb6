#include "comparison/ComparisonSearch.h"

#include <QSet>

QStringList SearchNames(const QStringList& outer, const QStringList& inner, SearchCondition condition,
                        const std::function<void(qsizetype)>& progress)
{
    // One set of the inner names answers every "is it there" at once; the
    // outer walk keeps its order and its duplicates.
    const QSet<QString> present(inner.cbegin(), inner.cend());
    const bool wanted = condition == SearchCondition::Matching;
    QStringList results;
    for (qsizetype i = 0; i < outer.size(); ++i) {
        if (progress)
            progress(i);
        const QString& name = outer.at(i);
        if (present.contains(name) == wanted)
            results.append(name);
    }
    return results;
}
