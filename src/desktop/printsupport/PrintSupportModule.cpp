// The entry of the print module, which the viewer loads when the printers
// are first asked for (see PrintModulePrinters).
#include "desktop/printsupport/QtPrinters.h"

extern "C" __attribute__((visibility("default"))) const char* glyfaroPrintModuleBuild()
{
    return GLYFARO_PRINT_MODULE_BUILD;
}

extern "C" __attribute__((visibility("default"))) platform::Printers*
glyfaroCreatePrinters(platform::FontList& fonts, platform::Dialogs& dialogs, bool builtInPdf)
{
    return new platform::QtPrinters(fonts, dialogs,
                                    builtInPdf ? platform::QtPrinters::BuiltInPdf::On
                                               : platform::QtPrinters::BuiltInPdf::Off);
}
