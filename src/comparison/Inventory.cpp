#include "comparison/Inventory.h"

#include "catalog/FontFileLookup.h"
#include "catalog/NameMatching.h"
#include "catalog/OneLineText.h"
#include "catalog/SizeText.h"
#include "formats/ComparisonFile.h"

#include <QHash>
#include <algorithm>

namespace {

struct Side {
    // Name -> its distinct sizes, and the names in first-seen order.
    QHash<QString, QList<qint64>> sizes;
    QStringList order;
};

Side sideOf(const FontSet& set)
{
    Side side;
    side.sizes.reserve(set.names.size());
    side.order.reserve(set.names.size());
    for (qsizetype i = 0; i < set.names.size(); ++i) {
        const QString& name = set.names.at(i);
        const qint64 size = i < set.sizes.size() ? set.sizes.at(i) : 0;
        auto found = side.sizes.find(name);
        if (found == side.sizes.end()) {
            side.sizes.insert(name, {size});
            side.order.append(name);
        } else if (!found->contains(size)) {
            found->append(size);
        }
    }
    return side;
}

bool sameSizes(QList<qint64> left, QList<qint64> right)
{
    std::sort(left.begin(), left.end());
    std::sort(right.begin(), right.end());
    return left == right;
}

// Folding every name costs more than the comparison itself, so only the
// other side of a name that is missing is folded, and only once.
class ProbableMatches {
public:
    explicit ProbableMatches(const QStringList& names) : m_names(names) {}
    QString of(const QString& name)
    {
        if (!m_built) {
            m_built = true;
            for (const QString& other : m_names)
                m_folded.insert(FoldedForMatching(other), other);
        }
        return m_folded.value(FoldedForMatching(name));
    }

private:
    const QStringList& m_names;
    bool m_built = false;
    // The first name of each folded form.
    QHash<QString, QString> m_folded;
};

} // namespace

FontSet MachineFontSet(const QStringList& allFontNames, const FontFileLookup& lookup, const QString& machineName,
                       int& fatalMessage)
{
    FontSet set{machineName.isEmpty() ? ThisMachineTitle : ThisMachineTitle + u'「' + machineName + u'」', {}, {}};
    set.names.reserve(allFontNames.size());
    set.sizes.reserve(allFontNames.size());
    for (const QString& name : allFontNames) {
        const FontFileInfo file = lookup.LookupFontFile(name);
        if (file.fatalMessage >= 0) {
            fatalMessage = file.fatalMessage;
            return set;
        }
        set.names.append(name);
        set.sizes.append(comparison_file::storedSize(file.sizeBytes));
    }
    return set;
}

Inventory CompareFontSets(const FontSet& left, const FontSet& right)
{
    const Side l = sideOf(left);
    const Side r = sideOf(right);
    Inventory inventory;
    ProbableMatches inRight(r.order);
    for (const QString& name : l.order) {
        const QList<qint64>& leftSizes = l.sizes[name];
        const auto other = r.sizes.constFind(name);
        if (other == r.sizes.cend()) {
            inventory.onlyLeft.append({name, leftSizes, {}, inRight.of(name)});
            continue;
        }
        InventoryEntry entry{name, leftSizes, *other, {}};
        (sameSizes(leftSizes, *other) ? inventory.same : inventory.sizeDiffers).append(entry);
    }
    ProbableMatches inLeft(l.order);
    for (const QString& name : r.order) {
        if (!l.sizes.contains(name))
            inventory.onlyRight.append({name, {}, r.sizes[name], inLeft.of(name)});
    }
    return inventory;
}

QString SizesText(const QList<qint64>& sizes, Digits digits)
{
    if (sizes.isEmpty())
        return QStringLiteral("-");
    QStringList texts;
    for (const qint64 size : sizes)
        texts.append(digits == Digits::Grouped ? NumberText(size) : QString::number(size));
    return texts.join(QStringLiteral(" / "));
}

QString GroupTitle(InventoryGroup group)
{
    switch (group) {
    case InventoryGroup::OnlyLeft:
        return QStringLiteral("左だけにあるフォント");
    case InventoryGroup::OnlyRight:
        return QStringLiteral("右だけにあるフォント");
    case InventoryGroup::SizeDiffers:
        return QStringLiteral("同じ名前でファイルサイズが違うフォント");
    case InventoryGroup::Same:
        return QStringLiteral("両方に同じくあるフォント");
    }
    return {};
}

const QList<InventoryEntry>& EntriesOf(const Inventory& inventory, InventoryGroup group)
{
    switch (group) {
    case InventoryGroup::OnlyLeft:
        return inventory.onlyLeft;
    case InventoryGroup::OnlyRight:
        return inventory.onlyRight;
    case InventoryGroup::SizeDiffers:
        return inventory.sizeDiffers;
    case InventoryGroup::Same:
        break;
    }
    return inventory.same;
}

QString ProbableMatchNote(const InventoryEntry& entry)
{
    return entry.probableMatch.isEmpty() ? QString()
                                         : QStringLiteral("同じフォントの可能性: ") + OneLineText(entry.probableMatch);
}

QList<QStringList> InventoryTable(const Inventory& inventory, const FontSet& left, const FontSet& right)
{
    QList<QStringList> rows;
    rows.append({QStringLiteral("区分"), QStringLiteral("フォント名"), QStringLiteral("左のサイズ (") + left.title + u')',
                 QStringLiteral("右のサイズ (") + right.title + u')', QStringLiteral("備考")});
    for (const InventoryGroup group : InventoryGroups) {
        for (const InventoryEntry& entry : EntriesOf(inventory, group)) {
            rows.append({GroupTitle(group), entry.name, entry.leftSizes.isEmpty() ? QString() : SizesText(entry.leftSizes),
                         entry.rightSizes.isEmpty() ? QString() : SizesText(entry.rightSizes), ProbableMatchNote(entry)});
        }
    }
    return rows;
}

QStringList InventoryLines(const Inventory& inventory, const FontSet& left, const FontSet& right)
{
    QStringList lines;
    lines.append(QStringLiteral("フォント構成の比較"));
    lines.append(QStringLiteral("左: ") + left.title + QStringLiteral("（") + NumberText(left.names.size())
                 + QStringLiteral(" 個）"));
    lines.append(QStringLiteral("右: ") + right.title + QStringLiteral("（") + NumberText(right.names.size())
                 + QStringLiteral(" 個）"));
    for (const InventoryGroup group : InventoryGroups) {
        const QList<InventoryEntry>& entries = EntriesOf(inventory, group);
        lines.append(QString());
        lines.append(GroupTitle(group) + QStringLiteral("  総数: ") + NumberText(entries.size())
                     + QStringLiteral(" 個"));
        if (group == InventoryGroup::SizeDiffers && !entries.isEmpty())
            lines.append(QStringLiteral("  （別の版のフォントである可能性が高く、文字の幅や字形が違うことがあります）"));
        // The names both sides share would fill pages and say nothing; the
        // saved table lists them.
        if (group == InventoryGroup::Same)
            continue;
        for (const InventoryEntry& entry : entries) {
            QString line = QStringLiteral("  ") + OneLineText(entry.name);
            if (group == InventoryGroup::SizeDiffers)
                line += QStringLiteral("  左 ") + SizesText(entry.leftSizes, Digits::Grouped)
                        + QStringLiteral(" バイト / 右 ") + SizesText(entry.rightSizes, Digits::Grouped)
                        + QStringLiteral(" バイト");
            if (!entry.probableMatch.isEmpty())
                line += QStringLiteral("  （") + ProbableMatchNote(entry) + QStringLiteral("）");
            lines.append(line);
        }
    }
    return lines;
}
