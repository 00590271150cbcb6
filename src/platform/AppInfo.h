#pragma once

#include <QString>

namespace platform {

struct AppVersion {
    int major;
    int minor;
    int revision;
};

inline constexpr AppVersion appVersion{GLYFARO_VERSION_MAJOR, GLYFARO_VERSION_MINOR,
                                       GLYFARO_VERSION_REVISION};

} // namespace platform
