#pragma once

#include "platform/Dialogs.h"
#include "platform/FontList.h"
#include "platform/Printers.h"

#include <memory>

namespace platform {

// The system's printers and the built-in PDF printer, from the print module.
// The module holds everything that needs Qt's print support and CUPS, and is
// loaded when the printers are first asked for: those libraries (with CUPS
// come Kerberos, GnuTLS and Avahi) add about 4 MB and twenty libraries to
// every start, and most sessions never print. A module that cannot be loaded
// lists no printers and starts no job; the reason goes to the log.
class PrintModulePrinters : public Printers {
public:
    PrintModulePrinters(FontList& fonts, Dialogs& dialogs, bool builtInPdf = true,
                        QString modulePath = installedModulePath());
    ~PrintModulePrinters() override;

    QStringList printerNames() override;
    QStringList printerFonts(int index) override;
    Job startJob(int index, const QString& pdfFileName) override;

    // Where the module lies beside the running program, in the build tree
    // and once installed alike.
    static QString installedModulePath();
    // Why the module could not be used; empty once it is loaded, or before
    // it was first needed.
    QString loadError() const { return m_error; }

private:
    Printers* loaded();

    FontList& m_fonts;
    Dialogs& m_dialogs;
    bool m_builtInPdf;
    QString m_modulePath;
    QString m_error;
    bool m_tried = false;
    std::unique_ptr<Printers> m_printers;
};

} // namespace platform
