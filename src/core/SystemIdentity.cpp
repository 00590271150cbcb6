#include "core/SystemIdentity.h"

#include "core/Messages.h"
#include "core/RegistryValues.h"

using namespace platform;

PlatformCheck IdentifyPlatform(const VersionRecord& version, System& system, SystemInfo& info)
{
    switch (version.platformId) {
    case PlatformWin32s:
        return PlatformCheck{MessageWin32s};
    case PlatformWindows:
        if (version.minor != 0) {
            info.OsFamily = QStringLiteral("WIndows 98");
            info.IsOsr2 = 0;
            info.SmoothingSupported = 1;
        } else {
            info.OsFamily = QStringLiteral("WIndows 95");
            // Only the low word of the build number counts, read as signed.
            const auto build = std::int16_t(std::uint16_t(version.build & 0xFFFF));
            info.IsOsr2 = build >= 1000 ? 1 : 0;
            info.SmoothingSupported = system.windowsExtension() ? 1 : 0;
        }
        info.WindowsKeyPath = Windows9xKeyPath;
        break;
    case PlatformNt:
        info.OsFamily = QStringLiteral("Windows NT");
        info.IsOsr2 = 0;
        info.SmoothingSupported = 1;
        info.WindowsKeyPath = WindowsNtKeyPath;
        break;
    case PlatformLinux:
        // Linux keeps its system facts where NT does and can always switch
        // smoothing.
        info.OsFamily = QStringLiteral("Linux");
        info.IsOsr2 = 0;
        info.SmoothingSupported = 1;
        info.WindowsKeyPath = WindowsNtKeyPath;
        break;
    default:
        break;
    }
    return {};
}

int DescribeSystem(Registry& registry, const VersionRecord& version, SystemInfo& info)
{
    KeyHandle key = 0;
    if (registry.openKey(RootKey::LocalMachine, info.WindowsKeyPath, KeyAccess::Read, key) != RegSuccess)
        return MessageUnexpected;
    if (info.IsOsr2 == 1) {
        info.OsDescription = ReadRegString(registry, key, QStringLiteral("ProductName"))
                             + QStringLiteral(" (OSR2)");
    } else if (version.platformId == PlatformNt && version.major < 5) {
        info.OsDescription = QStringLiteral("Windows NT 4.0(")
                             + ReadRegString(registry, key, QStringLiteral("CSDVersion"))
                             + QLatin1Char(')');
    } else {
        info.OsDescription = ReadRegString(registry, key, QStringLiteral("ProductName"));
    }
    info.OwnerName = ReadRegString(registry, key, QStringLiteral("RegisteredOwner"));
    info.OrganizationName = ReadRegString(registry, key, QStringLiteral("RegisteredOrganization"));
    if (registry.closeKey(key) != RegSuccess)
        return MessageUnexpected;
    return -1;
}

int ReadSmoothingState(System& system, SystemInfo& info)
{
    if (info.SmoothingSupported != 1)
        return -1;
    bool on = false;
    if (!system.fontSmoothing(on))
        return MessageUnexpected;
    info.SmoothingOn = on ? 1 : 0;
    return -1;
}
