#include "fontfiles/FontInstaller.h"

#include "face/FaceReader.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using platform::FontFace;

namespace {

QByteArray digestOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return {};
    return hash.result();
}

QString systemReason(int error)
{
    if (error == ENOSPC || error == EDQUOT)
        return QStringLiteral("ディスクの空きが足りません");
    if (error == EACCES || error == EPERM || error == EROFS)
        return QStringLiteral("書き込む権限がありません");
    return QString::fromLocal8Bit(std::strerror(error));
}

// A name in folder that no file has: name.ttf, else name-2.ttf, name-3.ttf...
QString freeName(const QDir& folder, const QString& fileName, int attempt)
{
    if (attempt == 1)
        return folder.filePath(fileName);
    const QFileInfo info(fileName);
    const QString suffix = info.completeSuffix().isEmpty() ? QString() : u'.' + info.completeSuffix();
    return folder.filePath(info.baseName() + u'-' + QString::number(attempt) + suffix);
}

// Writes source's bytes into a temporary file of folder, flushed to disk;
// the temporary file's path, or empty with the reason.
QString copyToTemporary(const QString& source, const QDir& folder, QString& reason)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        reason = in.errorString();
        return {};
    }
    QByteArray pattern = QFile::encodeName(folder.filePath(QStringLiteral(".glyfaro2-install-XXXXXX")));
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        reason = systemReason(errno);
        return {};
    }
    const QString temporary = QFile::decodeName(pattern);
    char buffer[1 << 16];
    for (;;) {
        const qint64 got = in.read(buffer, sizeof buffer);
        if (got < 0) {
            reason = in.errorString();
            break;
        }
        if (got == 0) {
            if (::fsync(fd) == 0 && ::fchmod(fd, 0644) == 0 && ::close(fd) == 0)
                return temporary;
            reason = systemReason(errno);
            QFile::remove(temporary);
            return {};
        }
        for (qint64 done = 0; done < got;) {
            const ssize_t put = ::write(fd, buffer + done, size_t(got - done));
            if (put < 0) {
                if (errno == EINTR)
                    continue;
                reason = systemReason(errno);
                ::close(fd);
                QFile::remove(temporary);
                return {};
            }
            done += put;
        }
    }
    ::close(fd);
    QFile::remove(temporary);
    return {};
}

} // namespace

bool SameBytes(const QString& one, const QString& other)
{
    const QFileInfo a(one);
    const QFileInfo b(other);
    if (!a.exists() || !b.exists() || a.size() != b.size())
        return false;
    if (a.canonicalFilePath() == b.canonicalFilePath())
        return true;
    const QByteArray digest = digestOf(one);
    return !digest.isEmpty() && digest == digestOf(other);
}

QStringList FilesOfFamily(const QString& family, const QList<FontFace>& installedFaces)
{
    QStringList files;
    QSet<QString> seen;
    for (const FontFace& face : installedFaces) {
        if (face.families.contains(family) && !seen.contains(face.realPath)) {
            seen.insert(face.realPath);
            files << face.path;
        }
    }
    return files;
}

FileStanding StandingOf(const FontFileScan& file, const QList<FontFace>& installedFaces)
{
    FileStanding standing;
    QSet<QString> families;
    for (const FontFace& face : file.faces) {
        for (const QString& family : face.families)
            families.insert(family);
    }
    QSet<QString> seen;
    QList<const FontFace*> others;
    for (const FontFace& face : installedFaces) {
        if (seen.contains(face.realPath)
            || std::none_of(face.families.cbegin(), face.families.cend(),
                            [&families](const QString& family) { return families.contains(family); }))
            continue;
        seen.insert(face.realPath);
        if (SameBytes(file.path, face.path)) {
            standing.state = FileStanding::State::SameFile;
            standing.installed = {{face.path, ReadFaceVersion(face.path, face.index), QFileInfo(face.path).size()}};
            return standing;
        }
        others << &face;
    }
    for (const FontFace* face : others)
        standing.installed << InstalledCopy{face->path, ReadFaceVersion(face->path, face->index),
                                            QFileInfo(face->path).size()};
    standing.state = others.isEmpty() ? FileStanding::State::NotInstalled : FileStanding::State::OtherFile;
    return standing;
}

QString StandingText(FileStanding::State state)
{
    switch (state) {
    case FileStanding::State::SameFile:
        return QStringLiteral("インストール済み（同じファイル）");
    case FileStanding::State::OtherFile:
        return QStringLiteral("同じ名前の別のファイルがインストールされています");
    case FileStanding::State::NotInstalled:
        break;
    }
    return QStringLiteral("インストールされていません");
}

InstallResult InstallFontFile(const FontFileScan& file, const FontPlaces& places, const QList<FontFace>& installedFaces)
{
    InstallResult result;
    if (!file.ok()) {
        result.error = file.error;
        return result;
    }
    // These bytes already installed, in the user's folder or anywhere else.
    const FileStanding standing = StandingOf(file, installedFaces);
    if (standing.state == FileStanding::State::SameFile) {
        result.outcome = InstallResult::Outcome::AlreadyInstalled;
        result.path = standing.installed.value(0).path;
        return result;
    }
    const qint64 size = QFileInfo(file.path).size();
    if (QFileInfo(places.fontsFolder).isDir()) {
        QDirIterator folder(places.fontsFolder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (folder.hasNext()) {
            const QString path = folder.next();
            if (folder.fileInfo().size() == size && !folder.fileName().startsWith(QLatin1String(".glyfaro2-install-"))
                && SameBytes(file.path, path)) {
                result.outcome = InstallResult::Outcome::AlreadyInstalled;
                result.path = path;
                return result;
            }
        }
    }
    if (!QDir().mkpath(places.fontsFolder)) {
        result.error = QStringLiteral("フォントフォルダ「%1」を作れません").arg(places.fontsFolder);
        return result;
    }
    const QDir folder(places.fontsFolder);
    QString reason;
    const QString temporary = copyToTemporary(file.path, folder, reason);
    if (temporary.isEmpty()) {
        result.error = reason;
        return result;
    }
    // Renamed without replacing: a name taken meanwhile takes the next one.
    const QByteArray from = QFile::encodeName(temporary);
    const QString fileName = QFileInfo(file.path).fileName();
    for (int attempt = 1; attempt < 10000; ++attempt) {
        const QString target = freeName(folder, fileName, attempt);
        const QByteArray to = QFile::encodeName(target);
        bool moved = ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0;
        // A file system without the no-replace rename: a hard link never
        // replaces either.
        if (!moved && errno == EINVAL && ::link(from.constData(), to.constData()) == 0) {
            ::unlink(from.constData());
            moved = true;
        }
        if (moved) {
            result.outcome = InstallResult::Outcome::Installed;
            result.path = target;
            RefreshFontFolderCache(places.fontsFolder);
            return result;
        }
        if (errno == EEXIST)
            continue;
        result.error = systemReason(errno);
        break;
    }
    QFile::remove(temporary);
    if (result.error.isEmpty())
        result.error = QStringLiteral("空いているファイル名が見つかりません");
    return result;
}

RemoveResult RemoveFontFile(const QString& path, const FontPlaces& places)
{
    RemoveResult result;
    if (!QFileInfo::exists(path)) {
        result.error = QStringLiteral("ファイルが見つかりません");
        return result;
    }
    if (!LiesInside(path, places.fontsFolder)) {
        result.error = QStringLiteral("このユーザーのフォントフォルダ（%1）にあるフォントだけを削除できます。"
                                      "システムのフォントの削除には管理者の権限が必要です")
                           .arg(places.fontsFolder);
        return result;
    }
    QFile file(path);
    if (!file.moveToTrash()) {
        result.error = QStringLiteral("ごみ箱に移せませんでした: ") + file.errorString();
        return result;
    }
    result.removed = true;
    RefreshFontFolderCache(QFileInfo(path).absolutePath());
    return result;
}

QString NextStartNotice()
{
    return QStringLiteral("ほかのプログラムには今から反映されます。Glyfaro 2 の一覧には、次に起動したときに反映されます。");
}
