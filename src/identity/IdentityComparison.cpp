#include "identity/IdentityComparison.h"

#include "catalog/ListOrder.h"
#include "catalog/SizeText.h"

#include <QJsonArray>
#include <QMap>

#include <algorithm>

namespace {

struct Side {
    QStringList versions;
    QStringList forms;
    QStringList hashes;
};

void add(Side& side, const FaceRecord& face)
{
    const auto addOnce = [](QStringList& list, const QString& value) {
        if (!list.contains(value))
            list << value;
    };
    addOnce(side.versions, face.facts.version);
    addOnce(side.forms, face.facts.glyphForms);
    addOnce(side.hashes, face.sha256);
}

QMap<QString, Side> sidesOf(const DetailedInventory& inventory)
{
    QMap<QString, Side> sides;
    for (const FaceRecord& face : inventory.faces)
        add(sides[face.title()], face);
    return sides;
}

// The glyph forms a side is known to have; "unknown" tells nothing.
QStringList knownForms(const QStringList& forms)
{
    QStringList known;
    for (const QString& form : forms) {
        if (form != u"unknown")
            known << form;
    }
    std::sort(known.begin(), known.end());
    return known;
}

QStringList sorted(QStringList list)
{
    std::sort(list.begin(), list.end());
    return list;
}

QString joined(const QStringList& values)
{
    return values.join(QStringLiteral(" / "));
}

QString formsText(const QStringList& forms)
{
    QStringList shown;
    for (const QString& form : forms)
        shown << (form == u"unknown" ? QStringLiteral("不明") : form);
    return joined(shown);
}

} // namespace

bool IdentityComparison::identical() const
{
    for (const IdentityGroup group : IdentityGroups) {
        if (group != IdentityGroup::Same && !entries(group).isEmpty())
            return false;
    }
    return true;
}

IdentityComparison CompareByIdentity(const DetailedInventory& left, const DetailedInventory& right)
{
    const QMap<QString, Side> leftSides = sidesOf(left);
    const QMap<QString, Side> rightSides = sidesOf(right);
    IdentityComparison comparison;
    QStringList titles = leftSides.keys();
    for (const QString& title : rightSides.keys()) {
        if (!leftSides.contains(title))
            titles << title;
    }
    SortLikeListBox(titles);
    for (const QString& title : std::as_const(titles)) {
        const auto leftFound = leftSides.constFind(title);
        const auto rightFound = rightSides.constFind(title);
        const Side* l = leftFound != leftSides.cend() ? &*leftFound : nullptr;
        const Side* r = rightFound != rightSides.cend() ? &*rightFound : nullptr;
        IdentityEntry entry{title, {}, {}, {}, {}, {}, {}};
        if (l) {
            entry.leftVersions = l->versions;
            entry.leftForms = l->forms;
            entry.leftHashes = l->hashes;
        }
        if (r) {
            entry.rightVersions = r->versions;
            entry.rightForms = r->forms;
            entry.rightHashes = r->hashes;
        }
        IdentityGroup group = IdentityGroup::Same;
        if (!r)
            group = IdentityGroup::OnlyLeft;
        else if (!l)
            group = IdentityGroup::OnlyRight;
        else if (sorted(l->hashes) == sorted(r->hashes))
            group = IdentityGroup::Same;
        else if (const QStringList lf = knownForms(l->forms), rf = knownForms(r->forms);
                 !lf.isEmpty() && !rf.isEmpty() && lf != rf)
            group = IdentityGroup::FormsDiffer;
        else if (sorted(l->versions) != sorted(r->versions))
            group = IdentityGroup::OtherVersion;
        else
            group = IdentityGroup::OtherBytes;
        comparison.groups[int(group)] << entry;
    }
    return comparison;
}

QString IdentityGroupTitle(IdentityGroup group)
{
    switch (group) {
    case IdentityGroup::FormsDiffer:
        return QStringLiteral("字形が違う");
    case IdentityGroup::OtherVersion:
        return QStringLiteral("別の版");
    case IdentityGroup::OtherBytes:
        return QStringLiteral("同じ版で中身が違う");
    case IdentityGroup::OnlyLeft:
        return QStringLiteral("左だけにあるフォント");
    case IdentityGroup::OnlyRight:
        return QStringLiteral("右だけにあるフォント");
    case IdentityGroup::Same:
        break;
    }
    return QStringLiteral("同じ");
}

QString IdentityGroupKey(IdentityGroup group)
{
    switch (group) {
    case IdentityGroup::FormsDiffer:
        return QStringLiteral("formsDiffer");
    case IdentityGroup::OtherVersion:
        return QStringLiteral("otherVersion");
    case IdentityGroup::OtherBytes:
        return QStringLiteral("sameVersionOtherBytes");
    case IdentityGroup::OnlyLeft:
        return QStringLiteral("onlyLeft");
    case IdentityGroup::OnlyRight:
        return QStringLiteral("onlyRight");
    case IdentityGroup::Same:
        break;
    }
    return QStringLiteral("same");
}

QStringList IdentityLines(const IdentityComparison& comparison, const QString& leftTitle, const QString& rightTitle)
{
    QStringList lines;
    lines << QStringLiteral("フォント構成の比較（ファイルの中身で比べました）");
    lines << QStringLiteral("左: ") + leftTitle;
    lines << QStringLiteral("右: ") + rightTitle;
    for (const IdentityGroup group : IdentityGroups) {
        const QList<IdentityEntry>& entries = comparison.entries(group);
        lines << QString();
        lines << IdentityGroupTitle(group) + QStringLiteral("  総数: ") + NumberText(entries.size()) + QStringLiteral(" 書体");
        if (group == IdentityGroup::FormsDiffer && !entries.isEmpty())
            lines << QStringLiteral("  （同じ名前のまま JIS90 と JIS2004 で字形が違います。辻・葛・飴など 168 字の形が変わり、"
                                    "校正と本番で印刷が違ってしまいます）");
        if (group == IdentityGroup::OtherVersion && !entries.isEmpty())
            lines << QStringLiteral("  （文字の幅や字形が違うことがあり、行送りや改ページが変わることがあります）");
        if (group == IdentityGroup::OtherBytes && !entries.isEmpty())
            lines << QStringLiteral("  （版の表示は同じでも中身が違います。作り直されたか、手を加えられたフォントです）");
        if (group == IdentityGroup::Same)
            continue;
        for (const IdentityEntry& entry : entries) {
            QString line = QStringLiteral("  ") + entry.title;
            if (group == IdentityGroup::FormsDiffer)
                line += QStringLiteral("  左 %1 / 右 %2").arg(formsText(entry.leftForms), formsText(entry.rightForms));
            else if (group == IdentityGroup::OtherVersion || group == IdentityGroup::OtherBytes)
                line += QStringLiteral("  左 %1 / 右 %2").arg(joined(entry.leftVersions), joined(entry.rightVersions));
            lines << line;
        }
    }
    return lines;
}

QList<QStringList> IdentityTable(const IdentityComparison& comparison, const QString& leftTitle,
                                 const QString& rightTitle)
{
    QList<QStringList> rows;
    rows << QStringList{QStringLiteral("区分"),
                        QStringLiteral("フォント"),
                        QStringLiteral("左の版 (") + leftTitle + u')',
                        QStringLiteral("右の版 (") + rightTitle + u')',
                        QStringLiteral("左の字形"),
                        QStringLiteral("右の字形"),
                        QStringLiteral("左の SHA-256"),
                        QStringLiteral("右の SHA-256")};
    for (const IdentityGroup group : IdentityGroups) {
        for (const IdentityEntry& entry : comparison.entries(group))
            rows << QStringList{IdentityGroupTitle(group),    entry.title,
                                joined(entry.leftVersions),   joined(entry.rightVersions),
                                formsText(entry.leftForms),   formsText(entry.rightForms),
                                joined(entry.leftHashes),     joined(entry.rightHashes)};
    }
    return rows;
}

QJsonObject IdentityJson(const IdentityComparison& comparison, const QString& leftTitle, const QString& rightTitle)
{
    const auto strings = [](const QStringList& values) { return QJsonArray::fromStringList(values); };
    QJsonObject report{{QStringLiteral("left"), QJsonObject{{QStringLiteral("title"), leftTitle}}},
                       {QStringLiteral("right"), QJsonObject{{QStringLiteral("title"), rightTitle}}},
                       {QStringLiteral("comparedBy"), QStringLiteral("identity")},
                       {QStringLiteral("identical"), comparison.identical()}};
    for (const IdentityGroup group : IdentityGroups) {
        QJsonArray entries;
        for (const IdentityEntry& entry : comparison.entries(group)) {
            QJsonObject object{{QStringLiteral("name"), entry.title}};
            if (!entry.leftVersions.isEmpty())
                object.insert(QStringLiteral("left"), QJsonObject{{QStringLiteral("versions"), strings(entry.leftVersions)},
                                                                  {QStringLiteral("glyphForms"), strings(entry.leftForms)},
                                                                  {QStringLiteral("sha256"), strings(entry.leftHashes)}});
            if (!entry.rightVersions.isEmpty())
                object.insert(QStringLiteral("right"), QJsonObject{{QStringLiteral("versions"), strings(entry.rightVersions)},
                                                                   {QStringLiteral("glyphForms"), strings(entry.rightForms)},
                                                                   {QStringLiteral("sha256"), strings(entry.rightHashes)}});
            entries.append(object);
        }
        report.insert(IdentityGroupKey(group), entries);
    }
    return report;
}
