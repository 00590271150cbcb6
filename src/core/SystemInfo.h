#pragma once

#include <QString>
#include <cstdint>

// Facts about the running system, gathered once at start-up.
struct SystemInfo {
    QString OsFamily;
    QString OsDescription;
    QString OwnerName;
    QString OrganizationName;
    // 64 bits: today's memory sizes do not fit the old 32-bit field.
    std::uint64_t TotalMemory = 0;
    std::int32_t IsOsr2 = 0;
    std::int32_t SmoothingSupported = 0;
    std::int32_t SmoothingOn = 0;
    QString WindowsKeyPath;
};
