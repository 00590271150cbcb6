#include "cli/FontFileCommands.h"

#include "catalog/SizeText.h"
#include "cli/ConsoleServices.h"
#include "cli/FontsTool.h"
#include "face/FaceReader.h"
#include "fontfiles/DisabledFonts.h"
#include "fontfiles/FontInstaller.h"

#include <QFileInfo>
#include <QIODevice>

#include <algorithm>

using platform::FontFace;

namespace {

constexpr int Done = 0;
constexpr int NothingToDo = 1;

void say(QIODevice& device, const QString& text)
{
    device.write((text + u'\n').toUtf8());
}

QString sizeText(qint64 size)
{
    return NumberText(size) + QStringLiteral(" バイト");
}

int install(const QStringList& files, QIODevice& out, QIODevice& err)
{
    const FontPlaces places = UserFontPlaces();
    QList<FontFace> installed = platform::InstalledFacesNow();
    int status = NothingToDo;
    bool troubled = false;
    for (const QString& path : files) {
        const FontFileScan scan = ScanFontFile(path);
        if (!scan.ok()) {
            troubled = true;
            SayTrouble(err, QStringLiteral("「%1」はフォントとして読めません。%2").arg(path, scan.error));
            continue;
        }
        const InstallResult result = InstallFontFile(scan, places, installed);
        switch (result.outcome) {
        case InstallResult::Outcome::Installed:
            say(out, QStringLiteral("インストールしました: %1 → %2").arg(path, result.path));
            status = Done;
            // The next file of the same family is compared with this one too.
            installed = platform::InstalledFacesNow();
            break;
        case InstallResult::Outcome::AlreadyInstalled:
            say(out, QStringLiteral("インストール済みです（同じファイル）: %1").arg(result.path));
            break;
        case InstallResult::Outcome::Failed:
            troubled = true;
            SayTrouble(err, QStringLiteral("「%1」をインストールできませんでした。%2").arg(path, result.error));
            break;
        }
    }
    return troubled ? ToolTrouble : status;
}

// The installed files a FILE or NAME argument means: the file as fontconfig
// lists it (its own path or a link to it), else every file of the family.
QStringList filesMeant(const QString& argument, const QList<FontFace>& installed, bool& isFile)
{
    isFile = QFileInfo(argument).isFile();
    if (!isFile)
        return FilesOfFamily(argument, installed);
    const QString real = QFileInfo(argument).canonicalFilePath();
    QStringList files;
    for (const FontFace& face : installed) {
        if ((face.realPath == real || face.path == argument) && !files.contains(face.path))
            files << face.path;
    }
    return files;
}

QString familyOf(const QString& path, const QList<FontFace>& installed)
{
    for (const FontFace& face : installed) {
        if (face.path == path)
            return platform::FontSnapshot::screenName(face);
    }
    return {};
}

int remove(const QString& argument, QIODevice& out, QIODevice& err)
{
    const FontPlaces places = UserFontPlaces();
    bool isFile = false;
    QStringList files = filesMeant(argument, platform::InstalledFacesNow(), isFile);
    // A file of the user's folder that fontconfig does not list (switched
    // off, or not a font it reads) is still the user's to remove.
    if (isFile && files.isEmpty())
        files << argument;
    if (files.isEmpty())
        return SayTrouble(err, QStringLiteral("「%1」という名前のフォントもファイルもありません。").arg(argument));
    for (const QString& file : files) {
        if (!LiesInside(file, places.fontsFolder))
            return SayTrouble(err, QStringLiteral("%1 は %2 の外にあります。このユーザーのフォントフォルダにあるフォントだけを削除できます"
                                               "（システムのフォントの削除には管理者の権限が必要です）。")
                                    .arg(file, places.fontsFolder));
    }
    for (const QString& file : files) {
        const RemoveResult removed = RemoveFontFile(file, places);
        if (!removed.removed)
            return SayTrouble(err, QStringLiteral("%1 を削除できませんでした。%2").arg(file, removed.error));
        say(out, QStringLiteral("ごみ箱に移しました: %1").arg(file));
    }
    return Done;
}

// The switched-off files a NAME or FILE argument means: by the name they
// were switched off under, or by their file.
QStringList switchedOffFiles(const QString& argument, const QList<DisabledFont>& off)
{
    const QString real = QFileInfo(argument).canonicalFilePath();
    QStringList paths;
    for (const DisabledFont& font : off) {
        if (font.family == argument || font.path == argument
            || (!real.isEmpty() && QFileInfo(font.path).canonicalFilePath() == real))
            paths << font.path;
    }
    return paths;
}

int disable(const QString& argument, QIODevice& out, QIODevice& err)
{
    const FontPlaces places = UserFontPlaces();
    const QList<FontFace> installed = platform::InstalledFacesNow();
    bool isFile = false;
    const QStringList files = filesMeant(argument, installed, isFile);
    if (files.isEmpty()) {
        if (!switchedOffFiles(argument, ReadDisabledFonts(places).fonts).isEmpty()) {
            say(out, QStringLiteral("既に無効です: %1").arg(argument));
            return NothingToDo;
        }
        return SayTrouble(err, isFile ? QStringLiteral("%1 はインストールされているフォントファイルではありません。").arg(argument)
                                   : QStringLiteral("「%1」という名前のフォントはありません。").arg(argument));
    }
    QList<DisabledFont> fonts;
    for (const QString& file : files)
        fonts.append({file, isFile ? familyOf(file, installed) : argument});
    const SwitchResult result = DisableFonts(fonts, places);
    if (!result.error.isEmpty())
        return SayTrouble(err, result.error);
    for (const QString& file : files)
        say(out, QStringLiteral("無効にしました: %1").arg(file));
    return Done;
}

int enable(const QString& argument, QIODevice& out, QIODevice& err)
{
    const FontPlaces places = UserFontPlaces();
    const DisabledFonts off = ReadDisabledFonts(places);
    if (!off.error.isEmpty())
        return SayTrouble(err, off.error);
    const QStringList paths = switchedOffFiles(argument, off.fonts);
    if (paths.isEmpty()) {
        say(out, QStringLiteral("無効にされていません: %1").arg(argument));
        return NothingToDo;
    }
    const SwitchResult result = EnableFonts(paths, places);
    if (!result.error.isEmpty())
        return SayTrouble(err, result.error);
    for (const QString& path : paths)
        say(out, QStringLiteral("有効にしました: %1").arg(path));
    return Done;
}

int status(const QString& path, QIODevice& out, QIODevice& err)
{
    const FontFileScan scan = ScanFontFile(path);
    if (!scan.ok())
        return SayTrouble(err, QStringLiteral("「%1」はフォントとして読めません。%2").arg(path, scan.error));
    const FileStanding standing = StandingOf(scan, platform::InstalledFacesNow());
    say(out, StandingText(standing.state));
    if (standing.state == FileStanding::State::OtherFile) {
        say(out, QStringLiteral("  このファイル: %1\t%2\t%3")
                     .arg(path, ReadFaceVersion(path, scan.faces.first().index), sizeText(QFileInfo(path).size())));
        for (const InstalledCopy& copy : standing.installed)
            say(out, QStringLiteral("  インストール済み: %1\t%2\t%3").arg(copy.path, copy.version, sizeText(copy.size)));
    } else if (standing.state == FileStanding::State::SameFile) {
        say(out, QStringLiteral("  %1").arg(standing.installed.value(0).path));
    }
    return standing.state == FileStanding::State::SameFile ? Done : NothingToDo;
}

} // namespace

bool IsFontFileCommand(const QString& command)
{
    return command == QLatin1String("install") || command == QLatin1String("remove") || command == QLatin1String("disable")
           || command == QLatin1String("enable") || command == QLatin1String("status");
}

int RunFontFileCommand(const QString& command, const QStringList& arguments, QIODevice& out, QIODevice& err)
{
    if (command == QLatin1String("install") && !arguments.isEmpty())
        return install(arguments, out, err);
    if (arguments.size() != 1)
        return SayTrouble(err, QStringLiteral("「%1」の引数が違います。\n詳しくは glyfaro2-fonts --help を見てください。").arg(command));
    if (command == QLatin1String("remove"))
        return remove(arguments.first(), out, err);
    if (command == QLatin1String("disable"))
        return disable(arguments.first(), out, err);
    if (command == QLatin1String("enable"))
        return enable(arguments.first(), out, err);
    return status(arguments.first(), out, err);
}
