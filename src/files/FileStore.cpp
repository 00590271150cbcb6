#include "files/FileStore.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

namespace {

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
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
        return {false, file.errorString()};
    for (qsizetype done = 0; done < bytes.size();) {
        // After a part, the next write gives the system's reason.
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return {false, reason};
        }
        done += written;
    }
    if (!file.commit())
        return {false, file.errorString()};
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
        return {false, m_file.errorString()};
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
        return {false, m_file.errorString()};
    m_view = m_copy;
    return {};
}
