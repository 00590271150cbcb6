#include "desktop/printsupport/QtPrinters.h"

#include "desktop/printsupport/QtPrinterDevice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinterInfo>

#include <cups/cups.h>

#include <cstdio>
#include <sys/stat.h>

namespace platform {

namespace {

constexpr int AskBeforeOverwrite = 0x2;
const QString DocumentName = QStringLiteral("Glyfaro 2");

// Hands a finished PDF to a CUPS queue, which takes PDF as it is.
bool submitToQueue(const QString& printer, const QString& pdfPath, int copies)
{
    // An instance ("queue/instance") prints on its queue.
    const QByteArray queue = printer.section(QLatin1Char('/'), 0, 0).toLocal8Bit();
    cups_option_t* options = nullptr;
    int count = 0;
    count = cupsAddOption("copies", QByteArray::number(std::max(1, copies)).constData(), count, &options);
    count = cupsAddOption("media", "iso_a4_210x297mm", count, &options);
    count = cupsAddOption("orientation-requested", "3", count, &options);
    count = cupsAddOption("document-format", "application/pdf", count, &options);
    const int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, queue.constData(), QFile::encodeName(pdfPath).constData(),
                                   DocumentName.toUtf8().constData(), count, options);
    cupsFreeOptions(count, options);
    return job > 0;
}

// Puts the finished file where the user asked for it. The work file was
// made private, as temporary files are; the PDF gets the mode any file the
// user saves gets. The rename replaces an older file in one step, so the old
// one stays whole until the new one is complete.
bool moveInPlace(const QString& pdfPath, const QString& target)
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::chmod(QFile::encodeName(pdfPath).constData(), 0666 & ~mask) != 0)
        return false;
    return ::rename(QFile::encodeName(pdfPath).constData(), QFile::encodeName(target).constData()) == 0;
}

} // namespace

QtPrinters::QtPrinters(FontList& fonts, Dialogs& dialogs, BuiltInPdf builtIn)
    : m_fonts(fonts)
    , m_dialogs(dialogs)
    , m_builtIn(builtIn)
{
}

QStringList QtPrinters::printerNames()
{
    m_systemPrinters = QPrinterInfo::availablePrinterNames();
    QStringList names = m_systemPrinters;
    if (m_builtIn == BuiltInPdf::On)
        names << PdfPrinterName;
    return names;
}

QStringList QtPrinters::printerFonts(int)
{
    return m_fonts.screenFonts();
}

Printers::Job QtPrinters::startJob(int index, const QString& pdfFileName)
{
    Job job;
    if (index >= 0 && index < m_systemPrinters.size()) {
        const QString printer = m_systemPrinters.at(int(index));
        job.device = std::make_unique<QtPrinterDevice>(
            QDir::tempPath(),
            [printer](const QString& pdf, int copies) { return submitToQueue(printer, pdf, copies); },
            DocumentName);
        return job;
    }
    if (m_builtIn == BuiltInPdf::Off || index != m_systemPrinters.size())
        return job;

    const std::optional<QString> target =
        m_dialogs.saveFile({QStringLiteral("PDF ファイルに印刷"), QStringLiteral("PDF ファイル (*.pdf)|*.pdf"),
                            pdfFileName.isEmpty() ? QStringLiteral("Glyfaro2.pdf") : pdfFileName,
                            AskBeforeOverwrite, QStringLiteral("pdf")});
    if (!target) {
        job.cancelled = true;
        return job;
    }
    const QString path = QFileInfo(*target).absoluteFilePath();
    // The file is written beside its destination so that the finished job
    // only needs a rename, and a killed job leaves nothing behind.
    job.device = std::make_unique<QtPrinterDevice>(
        QFileInfo(path).absolutePath(), [path](const QString& pdf, int) { return moveInPlace(pdf, path); },
        DocumentName);
    return job;
}

} // namespace platform
