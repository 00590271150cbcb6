#include "desktop/DesktopSystem.h"

#include "desktop/LockKeyReader.h"

#include <QDesktopServices>
#include <QUrl>

namespace platform {

DesktopSystem::DesktopSystem() = default;
DesktopSystem::~DesktopSystem() = default;

LockKeyState DesktopSystem::lockKeys()
{
    if (!m_lockKeys)
        m_lockKeys = std::make_unique<LockKeyReader>();
    return m_lockKeys->state();
}

void DesktopSystem::openFontsFolder()
{
    if (auto folder = fontsFolder())
        QDesktopServices::openUrl(QUrl::fromLocalFile(*folder));
}

} // namespace platform
