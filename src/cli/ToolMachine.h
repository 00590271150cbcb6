#pragma once

#include "catalog/FontCatalogBuilder.h"
#include "catalog/FontFileLookup.h"
#include "cli/ConsoleServices.h"
#include "core/Messages.h"
#include "core/SystemIdentity.h"
#include "platform/FontConfigFonts.h"
#include "platform/HiveRegistry.h"
#include "platform/LinuxSystem.h"

#include <QIODevice>

#include <memory>
#include <optional>

// This machine's catalogue, built as the viewer builds it at start.
class Machine {
public:
    explicit Machine(QIODevice& err) : m_dialogs(err) {}

    // False when the catalogue could not be built; the reason was printed.
    bool build()
    {
        SystemInfo info;
        const std::optional<platform::VersionRecord> version = m_system.version();
        if (!version || IdentifyPlatform(*version, m_system, info).refusal >= 0)
            return fail(MessageUnexpected);
        const CatalogBuildResult built = BuildFontCatalog(m_catalog, m_platform, info.WindowsKeyPath, {});
        if (built.fatalMessage >= 0)
            return fail(built.fatalMessage);
        m_windowsKeyPath = info.WindowsKeyPath;
        return true;
    }

    const QStringList& names() const { return m_catalog.AllFontNames; }
    QString name() { return m_system.machineName(); }
    // Indexed only when a command needs the files: a list does not.
    const FontFileLookup& lookup()
    {
        if (!m_lookup)
            m_lookup = std::make_unique<FontFileLookup>(m_catalog, m_platform, m_windowsKeyPath);
        return *m_lookup;
    }
    bool fail(int message)
    {
        ShowMessage(m_dialogs, message);
        return false;
    }

private:
    platform::HiveRegistry m_registry;
    platform::LinuxSystem m_system;
    platform::FontConfigFonts m_fonts;
    ConsoleDialogs m_dialogs;
    NoPrinters m_printers;
    platform::Platform m_platform{m_registry, m_system, m_fonts, m_dialogs, m_printers};
    FontCatalog m_catalog;
    QString m_windowsKeyPath;
    std::unique_ptr<FontFileLookup> m_lookup;
};
