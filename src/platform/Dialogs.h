#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace platform {

// Message-box styles and answers, numbered as the platform numbers them.
enum MessageStyle : int {
    MbOkOnly = 0,
    MbYesNo = 4,
    MbCritical = 16,
    MbQuestion = 32,
    MbExclamation = 48,
    MbInformation = 64,
};

enum MessageAnswer : int {
    AnswerOk = 1,
    AnswerCancel = 2,
    AnswerYes = 6,
    AnswerNo = 7,
};

struct FileDialogRequest {
    QString title;
    QString filter;     // "CSV ファイル (*.csv)|*.csv" style: description|pattern pairs
    QString fileName;   // preset name or path
    int flags = 0;
    // Added to a saved name typed without an extension, e.g. "gfc".
    QString defaultSuffix;
};

// Modal dialogs. Texts may hold CR characters; they are shown as line breaks.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual int messageBox(const QString& text, int style, const QString& title) = 0;
    virtual std::optional<QString> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> saveFile(const FileDialogRequest& request) = 0;
    // Several existing files at once; where a dialog can take only one,
    // the one it takes.
    virtual std::optional<QStringList> openFiles(const FileDialogRequest& request)
    {
        const std::optional<QString> chosen = openFile(request);
        if (!chosen)
            return std::nullopt;
        return QStringList{*chosen};
    }
    // Colours are 0x00BBGGRR; nullopt when the user cancels.
    virtual std::optional<std::uint32_t> chooseColor(std::uint32_t initial) = 0;
};

} // namespace platform
