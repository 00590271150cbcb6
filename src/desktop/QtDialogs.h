#pragma once

#include "platform/Dialogs.h"

#include <QStringList>

namespace platform {

// Message boxes and common dialogs made of Qt's own dialogs.
class QtDialogs : public Dialogs {
public:
    int messageBox(const QString& text, int style, const QString& title) override;
    std::optional<QString> openFile(const FileDialogRequest& request) override;
    std::optional<QString> saveFile(const FileDialogRequest& request) override;
    std::optional<QStringList> openFiles(const FileDialogRequest& request) override;
    std::optional<std::uint32_t> chooseColor(std::uint32_t initial) override;

    // "desc|pattern|desc|pattern" as Qt name filters ("desc (pattern)");
    // patterns separated by ";" become blank-separated.
    static QStringList nameFilters(const QString& filter);
    // Box texts break lines at CR (CR LF and lone LF too).
    static QString boxText(const QString& text);
};

} // namespace platform
