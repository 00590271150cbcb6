#pragma once

#include "catalog/FontCatalog.h"
#include "platform/Platform.h"

#include <QString>
#include <functional>

// What the build met. A fatal message is shown by the caller, which then
// ends the program; an inconsistent catalogue is reported and used anyway.
struct CatalogBuildResult {
    int fatalMessage = -1;
    bool consistent = true;
};

// Fills the catalogue from the Fonts key below windowsKeyPath (local
// machine), the fonts folder and the screen fonts. status receives the
// progress text once per font and once at the end; it should return quickly.
CatalogBuildResult BuildFontCatalog(FontCatalog& catalog, platform::Platform& platform,
                                    const QString& windowsKeyPath,
                                    const std::function<void(const QString&)>& status);
