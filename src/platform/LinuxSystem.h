#pragma once

#include "platform/System.h"

#include <QLockFile>
#include <memory>
#include <optional>

namespace platform {

// System facts and services on Linux that need no display: a program with
// windows adds the keyboard and the desktop (DesktopSystem).
class LinuxSystem : public System {
public:
    LinuxSystem();
    ~LinuxSystem() override;

    bool previousInstanceRunning() override;
    std::optional<VersionRecord> version() override;
    std::uint64_t totalPhysicalMemory() override;
    bool windowsExtension() override;
    bool fontSmoothing(bool& on) override;
    bool setFontSmoothing(bool on) override;
    std::optional<QString> fontsFolder() override;
    QString programFolder() override;
    QString pathSeparator() override;
    LockKeyState lockKeys() override;
    bool programFolderWritable() override;
    QString documentsFolder() override;
    QString machineName() override;
    void openFontsFolder() override;
    void openDisplaySettings() override;
    [[noreturn]] void endProgram() override;

    // $XDG_RUNTIME_DIR/glyfaro2.lock, or fallbackLockPath() without it.
    static QString instanceLockPath();
    // Where the lock goes when the runtime folder is missing or refuses it.
    static QString fallbackLockPath();

private:
    std::unique_ptr<QLockFile> m_instanceLock;
    std::optional<bool> m_smoothing;
};

} // namespace platform
