#pragma once

#include "platform/Platform.h"

#include <memory>

namespace platform {

// The services of a program with windows: the registry, the system with its
// keyboard and desktop, the installed fonts as drawn, dialogs and printers.
std::unique_ptr<PlatformServices> createPlatform();

} // namespace platform
