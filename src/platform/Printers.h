#pragma once

#include "platform/PrinterDevice.h"

#include <QStringList>
#include <memory>

namespace platform {

// The built-in printer, listed after the system's, that writes a PDF file.
inline const QString PdfPrinterName = QStringLiteral("PDF ファイル");

// The installed printers, in the system's order, and the jobs they take.
class Printers {
public:
    virtual ~Printers() = default;

    // Device names.
    virtual QStringList printerNames() = 0;
    // The font names the printer offers.
    virtual QStringList printerFonts(int index) = 0;

    struct Job {
        std::unique_ptr<PrinterDevice> device;
        // The user turned the job down (the built-in file printer's save dialog).
        bool cancelled = false;
    };
    // Starts a job on printer index; no device and not cancelled when the
    // printer cannot take one. pdfFileName is the file name the built-in file
    // printer offers; empty for its own ("Glyfaro2.pdf").
    virtual Job startJob(int index, const QString& pdfFileName) = 0;
};

} // namespace platform
