#include "cli/InventoryCommands.h"

#include "catalog/SizeText.h"
#include "cli/ConsoleServices.h"
#include "cli/FontsTool.h"
#include "cli/ToolMachine.h"
#include "comparison/Inventory.h"
#include "formats/CsvExport.h"
#include "formats/FileStore.h"
#include "formats/FontNameFiles.h"
#include "identity/IdentityComparison.h"
#include "identity/InventoryFiles.h"
#include "identity/MachineInventory.h"
#include "identity/MachineReport.h"
#include "platform/FontSnapshot.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <unistd.h>

#include <optional>

namespace {


// Whether err is the terminal's standard error, where progress belongs.
bool toTerminal(QIODevice& err)
{
    const auto file = qobject_cast<QFile*>(&err);
    return file && file->handle() == STDERR_FILENO && ::isatty(STDERR_FILENO);
}

// One side of a comparison: a set of names and sizes, and, where the side
// is a detailed inventory or this machine read in detail, its faces.
struct Side {
    FontSet set;
    std::optional<DetailedInventory> details;
};

// This machine's detailed inventory, the reason printed when there is none.
std::optional<DetailedInventory> machineInventory(Machine& machine, QIODevice& err, FontSet* names = nullptr)
{
    int fatal = -1;
    const FontSet set = MachineFontSet(machine.names(), machine.lookup(), machine.name(), fatal);
    if (fatal >= 0) {
        machine.fail(fatal);
        return std::nullopt;
    }
    if (names)
        *names = set;
    FileFactsCache cache;
    const bool terminal = toTerminal(err);
    const MachineInventoryBuild build = BuildMachineInventory(
        platform::InstalledFacesNow(), set, machine.name(), ToolVersionText(), cache,
        [&err, terminal](qsizetype done, qsizetype total) {
            if (terminal)
                Say(err, QStringLiteral("\r読み込み中: %1 / %2 ファイル").arg(done).arg(total)
                             + (done == total ? QStringLiteral("\n") : QString()));
            return true;
        });
    if (cache.wasDamaged())
        Say(err, ToolName + QStringLiteral(": キャッシュ（") + FileFactsCachePath()
                     + QStringLiteral("）が壊れていたので、作り直しました。\n"));
    if (build.filesSkipped > 0)
        Say(err, ToolName + QStringLiteral(": 読めないフォントファイルが %1 個あり、一覧に入れませんでした。\n").arg(build.filesSkipped));
    return build.inventory;
}

// A file as one side; nullopt (the reason printed) when it cannot be
// compared. A cut file is refused too: the missing records would show as
// fonts the other side alone has.
std::optional<Side> fileSide(const QString& path, QIODevice& err)
{
    const QString named = QStringLiteral("ファイル「") + path + QStringLiteral("」");
    InventoryFile inventory = ReadInventoryFile(path);
    switch (inventory.status) {
    case InventoryFile::Status::Read: {
        const QString title = InventoryTitle(*inventory.inventory, path);
        return Side{FontSetOf(*inventory.inventory, title), std::move(inventory.inventory)};
    }
    case InventoryFile::Status::Unreadable:
    case InventoryFile::Status::Damaged:
        SayTrouble(err, named + inventory.error);
        return std::nullopt;
    case InventoryFile::Status::NotInventory:
        break;
    }
    FontSetFile file = ReadFontSetFile(path);
    switch (file.status) {
    case FontSetFile::Status::Read:
        return Side{FontSet{path, std::move(file.names), std::move(file.sizes)}, std::nullopt};
    case FontSetFile::Status::Unreadable:
        SayTrouble(err, named + QStringLiteral("を読み込めませんでした。") + file.reason);
        break;
    case FontSetFile::Status::NotComparisonFile:
        SayTrouble(err, named + QStringLiteral("はフォント比較用ファイルではありません（詳しいフォント構成ファイルでもありません）。"));
        break;
    case FontSetFile::Status::Damaged:
        SayTrouble(err, named + QStringLiteral("が壊れています。"));
        break;
    case FontSetFile::Status::Cut:
        SayTrouble(err, named + QStringLiteral("が途中で切れています（最後まで書かれていません）。"));
        break;
    }
    return std::nullopt;
}

QJsonArray sizesJson(const QList<qint64>& sizes)
{
    QJsonArray array;
    for (const qint64 size : sizes)
        array.append(size);
    return array;
}

QJsonArray entriesJson(const QList<InventoryEntry>& entries)
{
    QJsonArray array;
    for (const InventoryEntry& entry : entries) {
        QJsonObject object{{QStringLiteral("name"), entry.name}};
        if (!entry.leftSizes.isEmpty())
            object.insert(QStringLiteral("leftSizes"), sizesJson(entry.leftSizes));
        if (!entry.rightSizes.isEmpty())
            object.insert(QStringLiteral("rightSizes"), sizesJson(entry.rightSizes));
        if (!entry.probableMatch.isEmpty())
            object.insert(QStringLiteral("probableMatch"), entry.probableMatch);
        array.append(object);
    }
    return array;
}

QByteArray inventoryJson(const Inventory& inventory, const FontSet& left, const FontSet& right, bool fallback)
{
    const auto side = [](const FontSet& set) {
        return QJsonObject{{QStringLiteral("title"), set.title}, {QStringLiteral("count"), set.names.size()}};
    };
    QJsonObject report{
        {QStringLiteral("left"), side(left)},
        {QStringLiteral("right"), side(right)},
        {QStringLiteral("identical"), inventory.identical()},
        {QStringLiteral("onlyLeft"), entriesJson(inventory.onlyLeft)},
        {QStringLiteral("onlyRight"), entriesJson(inventory.onlyRight)},
        {QStringLiteral("sizeDiffers"), entriesJson(inventory.sizeDiffers)},
        {QStringLiteral("same"), entriesJson(inventory.same)},
    };
    // Said only where a detailed inventory was there to compare by identity.
    if (fallback)
        report.insert(QStringLiteral("comparedBy"), QStringLiteral("size"));
    return QJsonDocument(report).toJson(QJsonDocument::Indented);
}

// UTF-8 with its byte order mark, which spreadsheet programs in Japan take
// for UTF-8: no font name is lost to a narrower code page.
QByteArray csvUtf8(const QList<QStringList>& rows)
{
    QString text;
    for (const QStringList& row : rows) {
        QStringList fields;
        for (const QString& field : row)
            fields << CsvExport::field(field);
        text += fields.join(u',') + QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

const QString SizesOnlyNote = QStringLiteral("片方がフォント比較用ファイル（.gfc）なので、名前とファイルサイズだけで比べました。"
                                             "版や字形の違いは、両方を詳しいフォント構成ファイルにすると分かります。");

} // namespace

QString ToolVersionText()
{
    return ToolName + QStringLiteral(" %1.%2.%3").arg(GLYFARO_VERSION_MAJOR).arg(GLYFARO_VERSION_MINOR).arg(GLYFARO_VERSION_REVISION);
}

int SaveDetailedInventory(const QString& path, QIODevice& out, QIODevice& err)
{
    Machine machine(err);
    if (!machine.build())
        return ToolTrouble;
    const std::optional<DetailedInventory> inventory = machineInventory(machine, err);
    if (!inventory)
        return ToolTrouble;
    const QByteArray bytes = InventoryJson(*inventory);
    if (path == u"-") {
        out.write(bytes);
        return ToolSame;
    }
    if (const FileResult written = SaveFileReplacing(path, bytes); !written.ok)
        return SayTrouble(err, QStringLiteral("ファイル「") + path + QStringLiteral("」に保存できませんでした。") + written.reason);
    return ToolSame;
}

int CompareSets(const QStringList& files, bool json, QIODevice& out, QIODevice& err)
{
    std::optional<Side> left = fileSide(files.at(0), err);
    if (!left)
        return ToolTrouble;
    std::optional<Side> right;
    if (files.size() > 1) {
        right = fileSide(files.at(1), err);
    } else {
        Machine machine(err);
        if (!machine.build())
            return ToolTrouble;
        // Against a detailed inventory this machine is read in detail too.
        if (left->details) {
            FontSet names;
            std::optional<DetailedInventory> details = machineInventory(machine, err, &names);
            if (!details)
                return ToolTrouble;
            right = Side{names, std::move(details)};
        } else {
            int fatal = -1;
            FontSet set = MachineFontSet(machine.names(), machine.lookup(), machine.name(), fatal);
            if (fatal >= 0) {
                machine.fail(fatal);
                return ToolTrouble;
            }
            right = Side{std::move(set), std::nullopt};
        }
    }
    if (!right)
        return ToolTrouble;
    if (left->details && right->details) {
        const IdentityComparison comparison = CompareByIdentity(*left->details, *right->details);
        if (json)
            out.write(QJsonDocument(IdentityJson(comparison, left->set.title, right->set.title)).toJson(QJsonDocument::Indented));
        else
            Say(out, IdentityLines(comparison, left->set.title, right->set.title).join(u'\n') + u'\n');
        return comparison.identical() ? ToolSame : ToolDifferent;
    }
    const bool fallback = left->details || right->details;
    const Inventory inventory = CompareFontSets(left->set, right->set);
    if (json) {
        out.write(inventoryJson(inventory, left->set, right->set, fallback));
    } else {
        QStringList lines = InventoryLines(inventory, left->set, right->set);
        if (fallback)
            lines.insert(1, SizesOnlyNote);
        Say(out, lines.join(u'\n') + u'\n');
    }
    return inventory.identical() ? ToolSame : ToolDifferent;
}

int ReportMachines(const QStringList& files, const ReportOptions& options, QIODevice& out, QIODevice& err)
{
    if (files.isEmpty())
        return SayTrouble(err, QStringLiteral("比べる詳しいフォント構成ファイルがありません。"));
    // One inventory at a time: a hundred machines' whole inventories would
    // not fit in the memory of the machine that reports on them.
    MachineReportBuilder builder;
    for (const QString& path : files) {
        std::optional<Side> side = fileSide(path, err);
        if (!side)
            return ToolTrouble;
        if (!side->details)
            return SayTrouble(err, QStringLiteral("ファイル「") + path
                                    + QStringLiteral("」はフォント比較用ファイル（.gfc）です。report には詳しいフォント構成ファイル"
                                                     "（glyfaro2-fonts save --details で保存したもの）を与えてください。"));
        builder.add(*side->details, QFileInfo(path).completeBaseName());
    }
    const MachineReport report = builder.finish(options.all);
    const QString now = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    if (!options.html.isEmpty()) {
        if (const FileResult written = SaveFileReplacing(options.html, MachineReportHtml(report, now)); !written.ok)
            return SayTrouble(err, QStringLiteral("ファイル「") + options.html + QStringLiteral("」に保存できませんでした。") + written.reason);
    }
    if (!options.csv.isEmpty()) {
        if (const FileResult written = SaveFileReplacing(options.csv, csvUtf8(MachineReportCsv(report))); !written.ok)
            return SayTrouble(err, QStringLiteral("ファイル「") + options.csv + QStringLiteral("」に保存できませんでした。") + written.reason);
    }
    Say(out, MachineReportLines(report).join(u'\n') + u'\n');
    return report.differs() ? ToolDifferent : ToolSame;
}
