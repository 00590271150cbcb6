#include "cli/FontsTool.h"

#include "catalog/FontCatalogBuilder.h"
#include "catalog/FontFileLookup.h"
#include "catalog/OneLineText.h"
#include "cli/ConsoleServices.h"
#include "cli/FontFileCommands.h"
#include "cli/FontInfoCommand.h"
#include "cli/InventoryCommands.h"
#include "cli/ToolMachine.h"
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

int write(FontNameFileKind kind, const QString& path, QIODevice& out, QIODevice& err)
{
    Machine machine(err);
    if (!machine.build())
        return ToolTrouble;
    const FontNameFileContent content = MakeFontNameFile(kind, machine.names(), machine.lookup());
    if (content.fatalMessage >= 0) {
        machine.fail(content.fatalMessage);
        return ToolTrouble;
    }
    if (path == u"-")
        out.write(content.bytes);
    else if (const FileResult written = SaveFileReplacing(path, content.bytes); !written.ok)
        return SayTrouble(err, QStringLiteral("ファイル「") + path + QStringLiteral("」に保存できませんでした。") + written.reason);
    if (content.substituted > 0)
        Say(err, ToolName + QStringLiteral(": ") + SubstitutedNamesNotice(content.substituted).replace(QStringLiteral("\r\r"), QStringLiteral(" ")) + u'\n');
    return ToolSame;
}

} // namespace

QString FontsToolUsage()
{
    return QStringLiteral(
        "使い方: glyfaro2-fonts コマンド [引数]\n"
        "\n"
        "  list                          このコンピュータのフォント名を、一覧の順に 1 行ずつ表示する\n"
        "  save ファイル.gfc             フォント比較用ファイルを保存する（- で標準出力へ）\n"
        "  save --details ファイル.json  詳しいフォント構成（書体ごとの版・SHA-256・字形・収録状況）を\n"
        "                                保存する（- で標準出力へ）\n"
        "  export ファイル.csv           全てのフォント名を CSV ファイルに保存する\n"
        "  compare [--json] A [B]        A とこのコンピュータ（B があれば A と B）のフォント構成を比べる\n"
        "                                （A・B はフォント比較用ファイルか詳しいフォント構成ファイル）\n"
        "  report [--all] [--html ファイル] [--csv ファイル] A.json B.json ...\n"
        "                                多くのコンピュータの詳しいフォント構成を 1 つの表で比べる\n"
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
        "両方が詳しいフォント構成なら、字形が違う・別の版・同じ版で中身が違う・左だけ・右だけ・同じ、に分けます。\n"
        "\n"
        "install・remove・disable・enable は、ほかのプログラムにはすぐに反映されます。\n"
        "\n"
        "終了ステータス: 0 同じ（またはコマンドが成功した、status ではインストール済み）、\n"
        "                1 違いがある（または何もすることがなかった、status ではインストールされていない）、2 エラー\n");
}

int RunFontsTool(const QStringList& arguments, QIODevice& out, QIODevice& err)
{
    bool json = false;
    bool details = false;
    bool reportOptions = false;
    ReportOptions report;
    QStringList words;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (optionsEnded || !argument.startsWith(u'-') || argument == u'-') {
            words.append(argument);
        } else if (argument == QStringLiteral("--")) {
            optionsEnded = true;
        } else if (argument == QStringLiteral("--help") || argument == QStringLiteral("-h")) {
            Say(out, FontsToolUsage());
            return ToolSame;
        } else if (argument == QStringLiteral("--version")) {
            Say(out, ToolName + QStringLiteral(" (Glyfaro 2) ") + QStringLiteral("%1.%2.%3\n")
                                                                           .arg(GLYFARO_VERSION_MAJOR)
                                                                           .arg(GLYFARO_VERSION_MINOR)
                                                                           .arg(GLYFARO_VERSION_REVISION));
            return ToolSame;
        } else if (argument == QStringLiteral("--json")) {
            json = true;
        } else if (argument == QStringLiteral("--details")) {
            details = true;
        } else if (argument == QStringLiteral("--all")) {
            report.all = true;
        } else if (argument == QStringLiteral("--html") || argument == QStringLiteral("--csv")) {
            // The file follows the option.
            QString& file = argument == QStringLiteral("--html") ? report.html : report.csv;
            if (i + 1 >= arguments.size())
                return SayTrouble(err, argument + QStringLiteral(" のあとに保存するファイルの名前を書いてください。"));
            file = arguments.at(++i);
            reportOptions = true;
        } else {
            return SayTrouble(err, QStringLiteral("知らないオプションです: ") + argument
                                    + QStringLiteral("\n詳しくは glyfaro2-fonts --help を見てください。"));
        }
    }
    const QString command = words.value(0);
    const QStringList rest = words.mid(1);
    const auto wrongArguments = [&err, &command] {
        return SayTrouble(err, QStringLiteral("「") + command + QStringLiteral("」の引数が違います。")
                                + QStringLiteral("\n詳しくは glyfaro2-fonts --help を見てください。"));
    };
    if (json && command != QStringLiteral("compare") && command != QStringLiteral("info"))
        return SayTrouble(err, QStringLiteral("--json は compare と info にだけ使えます。"));
    if (details && command != QStringLiteral("save"))
        return SayTrouble(err, QStringLiteral("--details は save にだけ使えます。"));
    if ((reportOptions || report.all) && command != QStringLiteral("report"))
        return SayTrouble(err, QStringLiteral("--html・--csv・--all は report にだけ使えます。"));
    if (command == QStringLiteral("report"))
        return ReportMachines(rest, report, out, err);
    if (command == QStringLiteral("info"))
        return rest.size() == 1 ? RunFontInfo(rest.at(0), json, out, err) : wrongArguments();
    if (command == QStringLiteral("list"))
        return rest.isEmpty() ? list(out, err) : wrongArguments();
    if (command == QStringLiteral("save"))
        return rest.size() != 1 ? wrongArguments()
               : details        ? SaveDetailedInventory(rest.at(0), out, err)
                                : write(FontNameFileKind::Comparison, rest.at(0), out, err);
    if (command == QStringLiteral("export"))
        return rest.size() == 1 ? write(FontNameFileKind::Csv, rest.at(0), out, err) : wrongArguments();
    if (command == QStringLiteral("compare"))
        return rest.size() == 1 || rest.size() == 2 ? CompareSets(rest, json, out, err) : wrongArguments();
    if (IsFontFileCommand(command))
        return RunFontFileCommand(command, rest, out, err);
    if (command.isEmpty())
        return SayTrouble(err, QStringLiteral("コマンドがありません。\n") + FontsToolUsage());
    return SayTrouble(err, QStringLiteral("知らないコマンドです: ") + command
                            + QStringLiteral("\n詳しくは glyfaro2-fonts --help を見てください。"));
}
