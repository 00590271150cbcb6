#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace platform {

// The version record. platformId: 0 Win32s, 1 Windows 95/98, 2 NT, 3 Linux.
struct VersionRecord {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
    std::uint32_t platformId = 0;
};

inline constexpr std::uint32_t PlatformWin32s = 0;
inline constexpr std::uint32_t PlatformWindows = 1;
inline constexpr std::uint32_t PlatformNt = 2;
inline constexpr std::uint32_t PlatformLinux = 3;

// Whether the lock keys are on, as the keyboard's indicators show them.
struct LockKeyState {
    bool capsLock = false;
    bool numLock = false;
    bool operator==(const LockKeyState&) const = default;
};

// Facts about the running system and the services the program asks of it
// outside the registry, fonts and dialogs.
class System {
public:
    virtual ~System() = default;

    // Takes the single-instance lock; true when another copy already holds it.
    virtual bool previousInstanceRunning() = 0;
    // nullopt when the query fails.
    virtual std::optional<VersionRecord> version() = 0;
    virtual std::uint64_t totalPhysicalMemory() = 0;

    // Whether font smoothing can be switched (the "Windows extension" query).
    virtual bool windowsExtension() = 0;
    // Reads the smoothing state into on; false when the query fails.
    virtual bool fontSmoothing(bool& on) = 0;
    // Switches smoothing for this run; false when refused.
    virtual bool setFontSmoothing(bool on) = 0;

    // The fonts folder; nullopt when the system cannot name one.
    virtual std::optional<QString> fontsFolder() = 0;
    // The folder that holds the program file, without a trailing separator.
    virtual QString programFolder() = 0;
    // The separator between a folder and a file name in this system's paths.
    virtual QString pathSeparator() = 0;
    // Whether this user may create files in the program folder; an installed
    // program usually lives in a folder only the administrator writes.
    virtual bool programFolderWritable() = 0;
    // The user's documents folder, else the home folder; empty when the system
    // names neither.
    virtual QString documentsFolder() = 0;

    virtual LockKeyState lockKeys() = 0;
    // The name this computer goes by on the network, for reports that are
    // filed from many machines.
    virtual QString machineName() = 0;

    virtual void openFontsFolder() = 0;
    virtual void openDisplaySettings() = 0;

    // Ends the program at once: no exit question, no settings write-back.
    // Production never returns; a test double records the call and returns,
    // so callers return straight after calling it.
    virtual void endProgram() = 0;
};

} // namespace platform
