#pragma once

#include "platform/Platform.h"
#include "core/SystemInfo.h"

#include <optional>

// The key of the system's own facts, for each platform family.
inline const QString Windows9xKeyPath = QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion");
inline const QString WindowsNtKeyPath = QStringLiteral("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");

// What identifying the platform decided: whether the program may run on it
// (message 1 refuses Win32s) and the facts it filled in.
struct PlatformCheck {
    int refusal = -1;
};

// Sets OsFamily, IsOsr2, SmoothingSupported and WindowsKeyPath from the
// version record.
PlatformCheck IdentifyPlatform(const platform::VersionRecord& version, platform::System& system,
                               SystemInfo& info);

// Reads OsDescription, OwnerName and OrganizationName from the system key;
// returns message 2 when the key cannot be opened or closed, -1 otherwise.
int DescribeSystem(platform::Registry& registry, const platform::VersionRecord& version,
                   SystemInfo& info);

// Reads the smoothing state when it can be switched; message 2 when the query
// fails, -1 otherwise.
int ReadSmoothingState(platform::System& system, SystemInfo& info);
