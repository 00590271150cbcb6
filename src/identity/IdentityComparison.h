#pragma once

#include "identity/DetailedInventory.h"

#include <QJsonObject>

// Two detailed inventories compared face by face: the fonts both sides name
// split by what really differs. A print shop fears most a font that kept its
// name and changed its glyph forms, so that group comes first.

enum class IdentityGroup {
    FormsDiffer,  // JIS90 on one side, JIS2004 on the other
    OtherVersion, // other version strings
    OtherBytes,   // the same version, other bytes
    OnlyLeft,
    OnlyRight,
    Same,         // the same bytes
};
inline constexpr IdentityGroup IdentityGroups[] = {IdentityGroup::FormsDiffer, IdentityGroup::OtherVersion,
                                                   IdentityGroup::OtherBytes,  IdentityGroup::OnlyLeft,
                                                   IdentityGroup::OnlyRight,   IdentityGroup::Same};

// One family and style, with what each side holds of it (a side may hold
// the same face in more than one file).
struct IdentityEntry {
    QString title;
    QStringList leftVersions;
    QStringList rightVersions;
    QStringList leftForms;
    QStringList rightForms;
    QStringList leftHashes;
    QStringList rightHashes;
};

struct IdentityComparison {
    QList<IdentityEntry> groups[std::size(IdentityGroups)];
    const QList<IdentityEntry>& entries(IdentityGroup group) const { return groups[int(group)]; }
    bool identical() const;
};

IdentityComparison CompareByIdentity(const DetailedInventory& left, const DetailedInventory& right);

// "字形が違う", "別の版", "同じ版で中身が違う", ...
QString IdentityGroupTitle(IdentityGroup group);
// The key of the group in the JSON report.
QString IdentityGroupKey(IdentityGroup group);

// The report as lines: both sides, each group with its count and fonts, the
// fonts that are the same counted only.
QStringList IdentityLines(const IdentityComparison& comparison, const QString& leftTitle, const QString& rightTitle);
// The same as a table for a CSV file.
QList<QStringList> IdentityTable(const IdentityComparison& comparison, const QString& leftTitle,
                                 const QString& rightTitle);
QJsonObject IdentityJson(const IdentityComparison& comparison, const QString& leftTitle, const QString& rightTitle);
