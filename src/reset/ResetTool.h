#pragma once

#include "platform/Dialogs.h"
#include "platform/Registry.h"

// Asks, then deletes the viewer's settings key so that its next start begins
// with the defaults. Returns the exit code: 0 after success or when the user
// declines, 1 after a failing registry call (reported with the error box).
int RunReset(platform::Registry& registry, platform::Dialogs& dialogs);
