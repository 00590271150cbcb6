#pragma once

#include "catalog/FontCatalog.h"
#include "catalog/FontFileLookup.h"
#include "catalog/FontGrouping.h"
#include "printing/PrintRecords.h"
#include "printing/Printouts.h"

#include "support/RecordingPrinter.h"
#include "support/TestPlatform.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

inline const QString FixtureWindowsKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");

// A catalogue of fonts whose files exist in a temporary folder (or are
// unknown), a file lookup on it, and a recording printer.
struct PrintFixture {
    TestPlatform test;
    QTemporaryDir folder;
    FontCatalog catalog;
    std::unique_ptr<FontFileLookup> lookup;
    RecordingPrinter printer;
    PrintRecords records;
    QStringList progress;
    std::function<void()> onEvents;
    int eventTurns = 0;

    PrintFixture()
    {
        catalog.FontsFolder = folder.path();
        for (int i = 0; i < IndexGroupCount; ++i)
            catalog.IndexLabels[std::size_t(i)] = IndexLabelOf(i);
        test.fonts.proportionalCounterpart = QStringLiteral("LabelFace");
    }

    // A font with a file of fileSize bytes; a negative size leaves it
    // without any Fonts entry. Fonts are added in sorted order.
    QString addFont(const QString& name, qint64 fileSize, const QString& fileName = QString())
    {
        catalog.AllFontNames << name;
        catalog.Groups[std::size_t(FontGroupOf(name))].Names << name;
        ++catalog.FontTotal;
        if (fileSize < 0)
            return QStringLiteral("不明");
        const QString file = fileName.isEmpty() ? name + QStringLiteral(".ttf") : fileName;
        const QString entry = name + QStringLiteral(" (TrueType)");
        catalog.FontFileEntries << entry;
        catalog.FontFileEntries.sort();
        test.registry.put(platform::RootKey::LocalMachine, FixtureWindowsKey + QStringLiteral("\\Fonts"), entry,
                          file);
        const QString full = QFileInfo(file).isAbsolute() ? file : folder.filePath(file);
        QFile out(full);
        if (out.open(QIODevice::WriteOnly))
            out.resize(fileSize);
        return full;
    }

    const FontFileLookup& fileLookup()
    {
        if (!lookup)
            lookup = std::make_unique<FontFileLookup>(catalog, test.platform, FixtureWindowsKey);
        return *lookup;
    }

    PrintContext context()
    {
        fileLookup();
        records.CurrentPrintPage = 1;
        return PrintContext{printer,
                            catalog,
                            *lookup,
                            records.CurrentPrintPage,
                            QStringLiteral("LabelFace"),
                            {QStringLiteral("2026/12/07"), QStringLiteral("9:05:03")},
                            [this](const QString& text) { progress << text; },
                            [this] {
                                ++eventTurns;
                                if (onEvents)
                                    onEvents();
                            },
                            {}};
    }

    // The visible pieces of a page as "line x text", line 0 at y = 500.
    QStringList plan(int page = 1) const
    {
        QStringList lines;
        for (const RecordingPrinter::Piece& piece : printer.visible(page))
            lines << QStringLiteral("%1 %2 %3").arg((piece.y - 500) / printer.lineStep).arg(piece.x).arg(piece.text);
        return lines;
    }
};
