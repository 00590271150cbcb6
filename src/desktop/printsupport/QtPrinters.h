#pragma once

#include "platform/Dialogs.h"
#include "platform/FontList.h"
#include "platform/Printers.h"

namespace platform {

// The system's CUPS printers as Qt lists them, then the built-in printer
// that writes a PDF file chosen when the job starts. Every printer offers
// the screen fonts.
class QtPrinters : public Printers {
public:
    enum class BuiltInPdf { On, Off };

    QtPrinters(FontList& fonts, Dialogs& dialogs, BuiltInPdf builtIn = BuiltInPdf::On);

    QStringList printerNames() override;
    QStringList printerFonts(int index) override;
    Job startJob(int index, const QString& pdfFileName) override;

private:
    FontList& m_fonts;
    Dialogs& m_dialogs;
    BuiltInPdf m_builtIn;
    QStringList m_systemPrinters;
};

} // namespace platform
