#pragma once

#include "platform/LinuxSystem.h"

#include <memory>

namespace platform {

class LockKeyReader;

// The system as a program with windows sees it: the keyboard's lock keys
// and the desktop's file manager as well.
class DesktopSystem : public LinuxSystem {
public:
    DesktopSystem();
    ~DesktopSystem() override;

    LockKeyState lockKeys() override;
    void openFontsFolder() override;

private:
    std::unique_ptr<LockKeyReader> m_lockKeys;
};

} // namespace platform
