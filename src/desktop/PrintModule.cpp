#include "desktop/PrintModule.h"

#include <QCoreApplication>
#include <QFile>

#include <dlfcn.h>

namespace platform {

namespace {
using BuildFunction = const char* (*)();
using CreateFunction = Printers* (*)(FontList&, Dialogs&, bool);
} // namespace

PrintModulePrinters::PrintModulePrinters(FontList& fonts, Dialogs& dialogs, bool builtInPdf, QString modulePath)
    : m_fonts(fonts)
    , m_dialogs(dialogs)
    , m_builtInPdf(builtInPdf)
    , m_modulePath(std::move(modulePath))
{
}

// The module itself stays loaded: a job's device may outlive these printers.
PrintModulePrinters::~PrintModulePrinters() = default;

QString PrintModulePrinters::installedModulePath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/" GLYFARO_PRINT_MODULE_FROM_PROGRAM);
}

Printers* PrintModulePrinters::loaded()
{
    if (m_tried)
        return m_printers.get();
    m_tried = true;
    void* module = dlopen(QFile::encodeName(m_modulePath).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        m_error = QString::fromLocal8Bit(dlerror());
    } else {
        const auto build = reinterpret_cast<BuildFunction>(dlsym(module, "glyfaroPrintModuleBuild"));
        const auto create = reinterpret_cast<CreateFunction>(dlsym(module, "glyfaroCreatePrinters"));
        // A module of another build may lay out the classes differently.
        if (!build || !create)
            m_error = m_modulePath + QStringLiteral(": not a print module of this program");
        else if (qstrcmp(build(), GLYFARO_PRINT_MODULE_BUILD) != 0)
            m_error = m_modulePath + QStringLiteral(": print module of another build (")
                      + QString::fromLatin1(build()) + QLatin1Char(')');
        else
            m_printers.reset(create(m_fonts, m_dialogs, m_builtInPdf));
        if (!m_printers)
            dlclose(module);
    }
    if (!m_printers)
        qWarning("No printers: %s", qPrintable(m_error));
    return m_printers.get();
}

QStringList PrintModulePrinters::printerNames()
{
    Printers* printers = loaded();
    return printers ? printers->printerNames() : QStringList();
}

QStringList PrintModulePrinters::printerFonts(int index)
{
    Printers* printers = loaded();
    return printers ? printers->printerFonts(index) : QStringList();
}

Printers::Job PrintModulePrinters::startJob(int index, const QString& pdfFileName)
{
    Printers* printers = loaded();
    return printers ? printers->startJob(index, pdfFileName) : Job();
}

} // namespace platform
