#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>

// Whether a file operation worked, and the system's reason when not.
struct FileResult {
    bool ok = true;
    QString reason;
};

// Writes bytes to a temporary file beside path and renames it over path only
// once it is complete, so a failure leaves an existing file as it was. A
// target without write permission is refused, as it would be replaced.
FileResult SaveFileReplacing(const QString& path, const QByteArray& bytes);

// A file's bytes for reading, mapped where the system allows so that a large
// file is not copied into memory.
class FileBytes {
public:
    FileResult open(const QString& path);
    QByteArrayView bytes() const { return m_view; }

private:
    QFile m_file;
    QByteArray m_copy;
    QByteArrayView m_view;
};
