#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One machine's fonts for comparing: this machine's catalogue or a
// comparison file, names with their font files' sizes.
inline const QString ThisMachineTitle = QStringLiteral("このコンピュータ");

struct FontSet {
    QString title; // ThisMachineTitle or the file's name
    QStringList names;
    QList<qint64> sizes; // same order as names
};

// A name as the inventory lists it. Sizes are the distinct sizes the side
// gives the name, in order; empty where the side lacks it.
struct InventoryEntry {
    QString name;
    QList<qint64> leftSizes;
    QList<qint64> rightSizes;
    // In the two "only" groups: a name of the other side that equals this
    // one once case and width are ignored, else empty.
    QString probableMatch;
};

// Two font sets side by side. A name's group is decided by the whole name,
// case and width counting; each name is listed once.
struct Inventory {
    QList<InventoryEntry> onlyLeft;    // left's order
    QList<InventoryEntry> onlyRight;   // right's order
    QList<InventoryEntry> sizeDiffers; // left's order
    QList<InventoryEntry> same;        // left's order

    bool identical() const { return onlyLeft.isEmpty() && onlyRight.isEmpty() && sizeDiffers.isEmpty(); }
};

class FontFileLookup;

// This machine's fonts, each size as a comparison file saved here holds it,
// so that such a file compares the same. The title names the machine
// ("このコンピュータ「proof-01」"): a report filed from many machines must say which. fatalMessage is set (and the set is
// incomplete) when the Fonts key failed.
FontSet MachineFontSet(const QStringList& allFontNames, const FontFileLookup& lookup, const QString& machineName,
                       int& fatalMessage);

Inventory CompareFontSets(const FontSet& left, const FontSet& right);

// The file sizes of a size list: "6235344" as the exported list writes
// sizes (Plain, for files), "6,235,344" as the windows and the printout
// show them (Grouped); several joined by " / "; "-" for none.
enum class Digits { Plain, Grouped };
QString SizesText(const QList<qint64>& sizes, Digits digits = Digits::Plain);

// The four groups as one table: a heading row, then a row per name with its
// group, the two sizes and the probable match; saved as CSV, printed as lines.
enum class InventoryGroup { OnlyLeft, OnlyRight, SizeDiffers, Same };
// The groups in the order the report gives them.
inline constexpr InventoryGroup InventoryGroups[] = {InventoryGroup::OnlyLeft, InventoryGroup::OnlyRight,
                                                     InventoryGroup::SizeDiffers, InventoryGroup::Same};
QString GroupTitle(InventoryGroup group);
const QList<InventoryEntry>& EntriesOf(const Inventory& inventory, InventoryGroup group);
// "同じフォントの可能性: …" for a name with a probable match, else empty.
QString ProbableMatchNote(const InventoryEntry& entry);
QList<QStringList> InventoryTable(const Inventory& inventory, const FontSet& left, const FontSet& right);
// The report as printed lines: both sides, each group with its count and
// names, the shared names counted only.
QStringList InventoryLines(const Inventory& inventory, const FontSet& left, const FontSet& right);
