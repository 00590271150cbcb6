#include "desktop/DesktopPlatform.h"

#include "platform/FontConfigFonts.h"
#include "platform/HiveRegistry.h"
#include "desktop/DesktopSystem.h"
#include "desktop/QtDialogs.h"
#include "desktop/PrintModule.h"
#include "desktop/RecordedDialogs.h"

namespace platform {

namespace {

class LinuxPlatformServices : public PlatformServices {
public:
    Platform& platform() override { return m_platform; }

private:
    // Registry and font list share the process-wide font listing, so the
    // installed fonts are listed once.
    HiveRegistry m_registry;
    DesktopSystem m_system;
    FontConfigFonts m_fonts;
    QtDialogs m_shownDialogs;
    RecordedDialogs m_dialogs{m_shownDialogs, RecordedDialogs::recordPathFromEnvironment()};
    PrintModulePrinters m_printers{m_fonts, m_dialogs};
    Platform m_platform{m_registry, m_system, m_fonts, m_dialogs, m_printers};
};

} // namespace

std::unique_ptr<PlatformServices> createPlatform()
{
    return std::make_unique<LinuxPlatformServices>();
}

} // namespace platform
