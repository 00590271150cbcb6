#include "cli/FontsTool.h"

#include "catalog/FontCatalogBuilder.h"
#include "catalog/FontFileLookup.h"
#include "catalog/OneLineText.h"
#include "cli/ConsoleServices.h"
#include "cli/FontFileCommands.h"
#include "cli/FontInfoCommand.h"
#include "comparison/Inventory.h"
#include "core/Messages.h"
#include "core/SystemIdentity.h"
#include "formats/FileStore.h"
#include "formats/FontNameFiles.h"
#include "platform/FontConfigFonts.h"
#include "platform/HiveRegistry.h"
#include "platform/LinuxSystem.h"

#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <memory>
#include <optional>

namespace {

const QString ProgramName = QStringLiteral("glyfaro2-fonts");

void say(QIODevice& device, const QString& text)
{
    device.write(text.toUtf8());
}

int trouble(QIODevice& err, const QString& text)
{
    say(err, ProgramName + QStringLiteral(": ") + text + u'\n');
    return ToolTrouble;
}

// This machine's catalogue, built as the viewer builds it at start.
class Machine {
public:
    explicit Machine(QIODevice& err) : m_dialogs(err) {}

    // False when the catalogue could not be built; the reason was printed.
    bool build()
    {
        SystemInfo info;
        const std::optional<platform::VersionRecord> version = m_system.version();
        if (!version || IdentifyPlatform(*version, m_system, info).refusal >= 0)
            return fail(MessageUnexpected);
        const CatalogBuildResult built = BuildFontCatalog(m_catalog, m_platform, info.WindowsKeyPath, {});
        if (built.fatalMessage >= 0)
            return fail(built.fatalMessage);
        m_windowsKeyPath = info.WindowsKeyPath;
        return true;
    }

    const QStringList& names() const { return m_catalog.AllFontNames; }
    QString name() { return m_system.machineName(); }
    // Indexed only when a command needs the files: a list does not.
    const FontFileLookup& lookup()
    {
        if (!m_lookup)
            m_lookup = std::make_unique<FontFileLookup>(m_catalog, m_platform, m_windowsKeyPath);
        return *m_lookup;
    }
    bool fail(int message)
    {
        ShowMessage(m_dialogs, message);
        return false;
    }

private:
    platform::HiveRegistry m_registry;
    platform::LinuxSystem m_system;
    platform::FontConfigFonts m_fonts;
    ConsoleDialogs m_dialogs;
    NoPrinters m_printers;
    platform::Platform m_platform{m_registry, m_system, m_fonts, m_dialogs, m_printers};
    FontCatalog m_catalog;
    QString m_windowsKeyPath;
    std::unique_ptr<FontFileLookup> m_lookup;
};

int list(QIODevice& out, QIODevice& err)
{
    Machine machine(err);
    if (!machine.build())
        return ToolTrouble;
    // A name holding a line break or a tab shows it as its symbol, as the
    // viewer's lists do, so that every name stays one line.
    QByteArray text;
    for (const QString& name : machine.names())
        text += OneLineText(name).toUtf8() + '\n';
    out.write(text);
    return ToolSame;
}

int write(FontNameFileKind kind, const QString& path, QIODevice& err)
{
    Machine machine(err);
    if (!machine.build())
        return ToolTrouble;
    const FontNameFileContent content = MakeFontNameFile(kind, machine.names(), machine.lookup());
    if (content.fatalMessage >= 0) {
        machine.fail(content.fatalMessage);
        return ToolTrouble;
    }
    if (const FileResult written = SaveFileReplacing(path, content.bytes); !written.ok)
        return trouble(err, QStringLiteral("ファイル「") + path + QStringLiteral("」に保存できませんでした。") + written.reason);
    if (content.substituted > 0)
        say(err, ProgramName + QStringLiteral(": ") + SubstitutedNamesNotice(content.substituted).replace(QStringLiteral("\r\r"), QStringLiteral(" ")) + u'\n');
    return ToolSame;
}

// A comparison file as one side; nullopt (the reason printed) when it
// cannot be compared. A cut file is refused too: the missing records would
// show as fonts the other side alone has.
std::optional<FontSet> fileSide(const QString& path, QIODevice& err)
{
    FontSetFile file = ReadFontSetFile(path);
    const QString named = QStringLiteral("ファイル「") + path + QStringLiteral("」");
    switch (file.status) {
    case FontSetFile::Status::Read:
        return FontSet{path, std::move(file.names), std::move(file.sizes)};
    case FontSetFile::Status::Unreadable:
        trouble(err, named + QStringLiteral("を読み込めませんでした。") + file.reason);
        break;
    case FontSetFile::Status::NotComparisonFile:
        trouble(err, named + QStringLiteral("はフォント比較用ファイルではありません。"));
        break;
    case FontSetFile::Status::Damaged:
        trouble(err, named + QStringLiteral("が壊れています。"));
        break;
    case FontSetFile::Status::Cut:
        trouble(err, named + QStringLiteral("が途中で切れています（最後まで書かれていません）。"));
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

QByteArray inventoryJson(const Inventory& inventory, const FontSet& left, const FontSet& right)
{
    const auto side = [](const FontSet& set) {
        return QJsonObject{{QStringLiteral("title"), set.title}, {QStringLiteral("count"), set.names.size()}};
    };
    const QJsonObject report{
        {QStringLiteral("left"), side(left)},
        {QStringLiteral("right"), side(right)},
        {QStringLiteral("identical"), inventory.identical()},
        {QStringLiteral("onlyLeft"), entriesJson(inventory.onlyLeft)},
        {QStringLiteral("onlyRight"), entriesJson(inventory.onlyRight)},
        {QStringLiteral("sizeDiffers"), entriesJson(inventory.sizeDiffers)},
        {QStringLiteral("same"), entriesJson(inventory.same)},
    };
    return QJsonDocument(report).toJson(QJsonDocument::Indented);
}

int compare(const QStringList& files, bool json, QIODevice& out, QIODevice& err)
{
    const std::optional<FontSet> left = fileSide(files.at(0), err);
    if (!left)
        return ToolTrouble;
    std::optional<FontSet> right;
    if (files.size() > 1) {
        right = fileSide(files.at(1), err);
    } else {
        Machine machine(err);
        if (!machine.build())
            return ToolTrouble;
        int fatal = -1;
        right = MachineFontSet(machine.names(), machine.lookup(), machine.name(), fatal);
        if (fatal >= 0) {
            machine.fail(fatal);
            return ToolTrouble;
        }
    }
    if (!right)
        return ToolTrouble;
    const Inventory inventory = CompareFontSets(*left, *right);
    if (json)
        out.write(inventoryJson(inventory, *left, *right));
    else
        say(out, InventoryLines(inventory, *left, *right).join(u'\n') + u'\n');
    return inventory.identical() ? ToolSame : ToolDifferent;
}

} // namespace

QString FontsToolUsage()
{
    return QStringLiteral(
        "使い方: glyfaro2-fonts コマンド [引数]\n"
        "\n"
        "  list                          このコンピュータのフォント名を、一覧の順に 1 行ずつ表示する\n"
        "  save ファイル.gfc             フォント比較用ファイルを保存する\n"
        "  export ファイル.csv           全てのフォント名を CSV ファイルに保存する\n"
        "  compare [--json] A.gfc [B.gfc]\n"
        "                                A とこのコンピュータ（B があれば A と B）のフォント構成を比べる\n"
        "  install ファイル...           フォントファイルをこのユーザーのフォントフォルダにインストールする\n"
        "  remove ファイル|フォント名    このユーザーのフォントフォルダのフォントをごみ箱に移す\n"
        "  disable フォント名|ファイル   フォントを無効にする（このユーザーのすべてのプログラムから隠す）\n"
        "  enable フォント名|ファイル    無効にしたフォントを有効に戻す\n"
        "  status ファイル               フォントファイルがインストールされているかを表示する\n"
        "  info [--json] フォント名|ファイル\n"
        "                                書体ごとに名前・版・形式・埋め込み・字形（JIS90/JIS2004）・\n"
        "                                異体字シーケンスの数・日本語の文字集合の収録状況を表示する\n"
        "  --help                        この説明を表示する\n"
        "  --version                     版を表示する\n"
        "\n"
        "save と export は、ビューアの「ファイル」メニューと同じ内容のファイルを書きます。\n"
        "compare は、左だけ・右だけ・同じ名前でファイルサイズが違う・同じ、の 4 つに分けて表示します。\n"
        "\n"
        "install・remove・disable・enable は、ほかのプログラムにはすぐに反映されます。\n"
        "\n"
        "終了ステータス: 0 同じ（またはコマンドが成功した、status ではインストール済み）、\n"
        "                1 違いがある（または何もすることがなかった、status ではインストールされていない）、2 エラー\n");
}

int RunFontsTool(const QStringList& arguments, QIODevice& out, QIODevice& err)
{
    bool json = false;
    QStringList words;
    bool optionsEnded = false;
    for (const QString& argument : arguments) {
        if (optionsEnded || !argument.startsWith(u'-') || argument == u'-') {
            words.append(argument);
        } else if (argument == QStringLiteral("--")) {
            optionsEnded = true;
        } else if (argument == QStringLiteral("--help") || argument == QStringLiteral("-h")) {
            say(out, FontsToolUsage());
            return ToolSame;
        } else if (argument == QStringLiteral("--version")) {
            say(out, ProgramName + QStringLiteral(" (Glyfaro 2) ") + QStringLiteral("%1.%2.%3\n")
                                                                           .arg(GLYFARO_VERSION_MAJOR)
                                                                           .arg(GLYFARO_VERSION_MINOR)
                                                                           .arg(GLYFARO_VERSION_REVISION));
            return ToolSame;
        } else if (argument == QStringLiteral("--json")) {
            json = true;
        } else {
            return trouble(err, QStringLiteral("知らないオプションです: ") + argument
                                    + QStringLiteral("\n詳しくは glyfaro2-fonts --help を見てください。"));
        }
    }
    const QString command = words.value(0);
    const QStringList rest = words.mid(1);
    const auto wrongArguments = [&err, &command] {
        return trouble(err, QStringLiteral("「") + command + QStringLiteral("」の引数が違います。")
                                + QStringLiteral("\n詳しくは glyfaro2-fonts --help を見てください。"));
    };
    if (json && command != QStringLiteral("compare") && command != QStringLiteral("info"))
        return trouble(err, QStringLiteral("--json は compare と info にだけ使えます。"));
    if (command == QStringLiteral("info"))
        return rest.size() == 1 ? RunFontInfo(rest.at(0), json, out, err) : wrongArguments();
    if (command == QStringLiteral("list"))
        return rest.isEmpty() ? list(out, err) : wrongArguments();
    if (command == QStringLiteral("save"))
        return rest.size() == 1 ? write(FontNameFileKind::Comparison, rest.at(0), err) : wrongArguments();
    if (command == QStringLiteral("export"))
        return rest.size() == 1 ? write(FontNameFileKind::Csv, rest.at(0), err) : wrongArguments();
    if (command == QStringLiteral("compare"))
        return rest.size() == 1 || rest.size() == 2 ? compare(rest, json, out, err) : wrongArguments();
    if (IsFontFileCommand(command))
        return RunFontFileCommand(command, rest, out, err);
    if (command.isEmpty())
        return trouble(err, QStringLiteral("コマンドがありません。\n") + FontsToolUsage());
    return trouble(err, QStringLiteral("知らないコマンドです: ") + command
                            + QStringLiteral("\n詳しくは glyfaro2-fonts --help を見てください。"));
}
