#pragma once

#include "platform/Dialogs.h"
#include "platform/Printers.h"

#include <QString>

class QIODevice;

// The tool's name, before each of its messages.
inline const QString ToolName = QStringLiteral("glyfaro2-fonts");
// Writes text as it stands, in UTF-8.
void Say(QIODevice& device, const QString& text);
// "glyfaro2-fonts: text" on a line of its own; returns the trouble status.
int SayTrouble(QIODevice& err, const QString& text);

// A program without a display has no dialogs: a message goes to standard
// error and every question is answered by its first button.
class ConsoleDialogs : public platform::Dialogs {
public:
    explicit ConsoleDialogs(QIODevice& err) : m_err(err) {}
    int messageBox(const QString& text, int style, const QString& title) override;
    std::optional<QString> openFile(const platform::FileDialogRequest&) override { return std::nullopt; }
    std::optional<QString> saveFile(const platform::FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::uint32_t> chooseColor(std::uint32_t) override { return std::nullopt; }

private:
    QIODevice& m_err;
};

// Nor does it print.
class NoPrinters : public platform::Printers {
public:
    QStringList printerNames() override { return {}; }
    QStringList printerFonts(int) override { return {}; }
    Job startJob(int, const QString&) override { return {}; }
};
