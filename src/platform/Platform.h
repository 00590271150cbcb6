#pragma once

#include "platform/Dialogs.h"
#include "platform/FontList.h"
#include "platform/Printers.h"
#include "platform/Registry.h"
#include "platform/System.h"

#include <memory>

namespace platform {

// The services the program reaches the system through. Production code gets
// them from createPlatform() (desktop/DesktopPlatform.h), the command-line
// tool from its own console services; tests build one from fakes.
struct Platform {
    Registry& registry;
    System& system;
    FontList& fonts;
    Dialogs& dialogs;
    Printers& printers;
};

// Owns the production implementations behind a Platform.
class PlatformServices {
public:
    virtual ~PlatformServices() = default;
    virtual Platform& platform() = 0;
};

} // namespace platform
