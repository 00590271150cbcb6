#pragma once

#include "catalog/FontCatalog.h"
#include "platform/PrinterDevice.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

class FontFileLookup;

// The fixed texts of the printed pages.
inline const QString BannerStart = QStringLiteral(
    "********** Glyfaro 2 **************************************************************** ");
inline const QString BannerSeparator = QStringLiteral("  ");
inline const QString BannerEnd = QStringLiteral(" *****");
inline const QString EndLineText = QStringLiteral(
    "****************************************************************************************************** END *****");
inline const QString EmptyGroupText = QStringLiteral("フォントがありません");

// The date and time in the banner, in the system's short date and time forms.
struct BannerTime {
    QString date;
    QString time;
};
BannerTime BannerTimeFor(const QDateTime& moment, const QLocale& locale);

// "ページ " + page + " 送信中...".
QString PageProgressText(int page);
// A number as the name list prints it: " 1 ".
QString RowNumberText(qsizetype number);
// "A   (12 Fonts)".
QString GroupHeadingText(const QString& label, qsizetype count);

// What a printout needs besides the printer: the catalogue, the file lookup,
// the page counter it advances, and the dialog it reports to.
struct PrintContext {
    platform::PrinterDevice& printer;
    const FontCatalog& catalog;
    const FontFileLookup& lookup;
    std::int32_t& CurrentPrintPage;
    // The face that stands for "ＭＳ Ｐゴシック"; empty keeps the printer's.
    QString labelFace;
    BannerTime banner;
    // Shows the page progress (the dialog's Label3).
    std::function<void(const QString&)> showProgress;
    // Lets pending window events run; the abort button is served here.
    std::function<void()> letEventsRun;
    // The family the drawing code knows a listed font by; empty prints the
    // name as it stands.
    std::function<QString(const QString&)> drawingFamily;
};

enum class PrintStatus {
    Completed,
    Aborted,       // the job was killed meanwhile; nothing more was printed
    PrinterFailed, // the printer refused a setting or a page
    Fatal,         // the font registry failed; fatalMessage says which message
};

struct PrintOutcome {
    PrintStatus status = PrintStatus::Completed;
    int fatalMessage = -1;
};

// Every font of the catalogue, numbered, with its file size and path.
PrintOutcome PrintNameList(PrintContext& context);

// The selected index groups in group order, each under its heading.
PrintOutcome PrintIndexList(PrintContext& context, const std::array<bool, IndexGroupCount>& selected);

// The glyph sheet's sixteen sizes, in points; the typesetting sample's
// waterfall uses the same.
inline constexpr std::array<int, 16> GlyphSheetSizes{8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30, 36, 48, 60, 72};

// One page of the glyph font at GlyphSheetSizes; printText is read afresh for
// every sample line.
PrintOutcome PrintGlyphSample(PrintContext& context, const QString& glyphFont,
                              const std::function<QString()>& printText);
