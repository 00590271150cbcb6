#include "catalog/ListOrder.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace {

template <typename Key>
void sortByKeys(QStringList& names, const std::vector<Key>& keys,
                int (*compareKeys)(const Key&, const Key&))
{
    std::vector<qsizetype> order(std::size_t(names.size()));
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](qsizetype left, qsizetype right) {
        const int byKey = compareKeys(keys[std::size_t(left)], keys[std::size_t(right)]);
        if (byKey != 0)
            return byKey < 0;
        return names.at(left) < names.at(right);
    });
    QStringList sorted;
    sorted.reserve(names.size());
    for (qsizetype index : order)
        sorted.append(names.at(index));
    names = std::move(sorted);
}

} // namespace

void SortLikeListBox(QStringList& names)
{
    // One order whatever the process locale: the lists and every file made
    // from them (the comparison file, the CSV list, the file lookup's walk)
    // must come out the same whether the viewer runs in a Japanese desktop
    // session or the tool in a C locale over ssh. Case-folded code points
    // give it without a collator, whose tables would cost the start-up
    // megabytes of memory.
    std::vector<QString> keys;
    keys.reserve(std::size_t(names.size()));
    for (const QString& name : names)
        keys.push_back(name.toCaseFolded());
    sortByKeys<QString>(names, keys, [](const QString& left, const QString& right) { return left.compare(right); });
}
