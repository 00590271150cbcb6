#include "formats/FileStore.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <locale.h>

namespace {

// The reasons a user meets most, in the viewer's own language; the system
// gives them in English where its messages are not translated.
struct KnownReason {
    int error;
    const char16_t* text;
};
constexpr KnownReason KnownReasons[] = {
    {EACCES, u"アクセスする権限がありません。"},
    {EPERM, u"アクセスする権限がありません。"},
    {EROFS, u"読み取り専用のファイルシステムです。"},
    {ENOSPC, u"ディスクの空き容量が足りません。"},
    {EDQUOT, u"ディスクの空き容量が足りません。"},
    {ENOENT, u"ファイルまたはフォルダが見つかりません。"},
    {ENOTDIR, u"フォルダが見つかりません。"},
    {EISDIR, u"ファイルではありません（フォルダです）。"},
};

QString systemReason(int error)
{
    for (const KnownReason& known : KnownReasons) {
        if (known.error == error)
            return QString::fromUtf16(known.text);
    }
    return QString::fromLocal8Bit(std::strerror(error));
}

// Qt hands on the system's text, not its number; the number is found again
// by the text, in the process's language or in the untranslated one.
QString reasonOf(const QString& systemText)
{
    static const locale_t untranslated = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    for (const KnownReason& known : KnownReasons) {
        if (systemText == QString::fromLocal8Bit(std::strerror(known.error))
            || (untranslated && systemText == QString::fromLatin1(strerror_l(known.error, untranslated))))
            return QString::fromUtf16(known.text);
    }
    return systemText;
}

} // namespace

FileResult SaveFileReplacing(const QString& path, const QByteArray& bytes)
{
    const QFileInfo target(path);
    if (target.isDir())
        return {false, systemReason(EISDIR)};
    // Renaming over a file needs only the folder's permission; a file the
    // user made read-only must still not be replaced.
    constexpr auto anyWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup
                              | QFileDevice::WriteOther;
    if (target.exists() && (!target.isWritable() || !(target.permissions() & anyWrite)))
        return {false, systemReason(EACCES)};

    // Unbuffered: a buffered write that the system takes only in part (a
    // full disk, a size limit) is flushed by the commit without any error,
    // and the cut file would replace the good one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {false, reasonOf(file.errorString())};
    for (qsizetype done = 0; done < bytes.size();) {
        // After a part, the next write gives the system's reason.
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            const QString reason = reasonOf(file.errorString());
            file.cancelWriting();
            return {false, reason};
        }
        done += written;
    }
    if (!file.commit())
        return {false, reasonOf(file.errorString())};
    return {};
}

FileResult FileBytes::open(const QString& path)
{
    m_view = {};
    m_copy.clear();
    if (QFileInfo(path).isDir())
        return {false, systemReason(EISDIR)};
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::ReadOnly))
        return {false, reasonOf(m_file.errorString())};
    const qint64 size = m_file.size();
    if (size > 0) {
        if (uchar* mapped = m_file.map(0, size)) {
            m_view = QByteArrayView(reinterpret_cast<const char*>(mapped), qsizetype(size));
            return {};
        }
    }
    // Files the system cannot map (pipes, some special files) are read.
    m_copy = m_file.readAll();
    if (m_file.error() != QFileDevice::NoError)
        return {false, reasonOf(m_file.errorString())};
    m_view = m_copy;
    return {};
}
