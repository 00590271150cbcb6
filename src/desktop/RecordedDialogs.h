#pragma once

#include "platform/Dialogs.h"

#include <QByteArray>
#include <QString>

namespace platform {

// Dialogs that can run unattended: with a record file named, every message
// box is written to it instead of being shown and is answered with its
// default button, so that a script or a test that starts the real program can
// see which boxes it showed. The other dialogs, and every box when no file is
// named, are those of the dialogs it wraps.
class RecordedDialogs : public Dialogs {
public:
    RecordedDialogs(Dialogs& shown, QString recordPath);

    // The record file named by GLYFARO_MESSAGE_RECORD; empty when unset.
    static QString recordPathFromEnvironment();

    int messageBox(const QString& text, int style, const QString& title) override;
    std::optional<QString> openFile(const FileDialogRequest& request) override;
    std::optional<QString> saveFile(const FileDialogRequest& request) override;
    std::optional<QStringList> openFiles(const FileDialogRequest& request) override;
    std::optional<std::uint32_t> chooseColor(std::uint32_t initial) override;

    // One line per box: style, title and text separated by TAB, with
    // backslash, TAB, CR and LF written as \\, \t, \r and \n.
    static QByteArray recordLine(const QString& text, int style, const QString& title);
    // The answer of the button a box has in front: Yes where it asks, else OK.
    static int defaultAnswer(int style);

private:
    Dialogs& m_shown;
    QString m_recordPath;
};

} // namespace platform
