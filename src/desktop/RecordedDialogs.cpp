#include "desktop/RecordedDialogs.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

QByteArray escaped(const QString& text)
{
    QByteArray out;
    for (char byte : text.toUtf8()) {
        switch (byte) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        default: out += byte; break;
        }
    }
    return out;
}

} // namespace

RecordedDialogs::RecordedDialogs(Dialogs& shown, QString recordPath)
    : m_shown(shown), m_recordPath(std::move(recordPath))
{
}

QString RecordedDialogs::recordPathFromEnvironment()
{
    return QFile::decodeName(qgetenv("GLYFARO_MESSAGE_RECORD"));
}

QByteArray RecordedDialogs::recordLine(const QString& text, int style, const QString& title)
{
    return QByteArray::number(style) + '\t' + escaped(title) + '\t' + escaped(text) + '\n';
}

int RecordedDialogs::defaultAnswer(int style)
{
    switch (style & 0xF) {
    case MbYesNo:
    case 3: // Yes, No and Cancel
        return AnswerYes;
    default:
        return AnswerOk;
    }
}

int RecordedDialogs::messageBox(const QString& text, int style, const QString& title)
{
    if (m_recordPath.isEmpty())
        return m_shown.messageBox(text, style, title);
    // Written at once and whole: the program may end straight after a box.
    const int fd = ::open(QFile::encodeName(m_recordPath).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd >= 0) {
        const QByteArray line = recordLine(text, style, title);
        if (::write(fd, line.constData(), std::size_t(line.size())) != line.size())
            qWarning("the message record %s is incomplete", qPrintable(m_recordPath));
        ::close(fd);
    }
    return defaultAnswer(style);
}

std::optional<QString> RecordedDialogs::openFile(const FileDialogRequest& request)
{
    return m_shown.openFile(request);
}

std::optional<QStringList> RecordedDialogs::openFiles(const FileDialogRequest& request)
{
    return m_shown.openFiles(request);
}

std::optional<QString> RecordedDialogs::saveFile(const FileDialogRequest& request)
{
    return m_shown.saveFile(request);
}

std::optional<std::uint32_t> RecordedDialogs::chooseColor(std::uint32_t initial)
{
    return m_shown.chooseColor(initial);
}

} // namespace platform
