#include "printing/Printouts.h"

#include "catalog/FontFileLookup.h"
#include "catalog/OneLineText.h"
#include "catalog/PathElision.h"

using platform::LineEnd;

namespace {

constexpr int TopMargin = 500;
constexpr int BannerX = 600;

class Printout {
public:
    explicit Printout(PrintContext& context)
        : m_context(context)
        , m_printer(context.printer)
    {
    }

    // The outcome so far: a killed or failed printer stops the printout.
    bool stopped()
    {
        if (m_printer.killed())
            outcome.status = PrintStatus::Aborted;
        else if (m_printer.failed())
            outcome.status = PrintStatus::PrinterFailed;
        return outcome.status != PrintStatus::Completed;
    }

    bool letEventsRun()
    {
        if (m_context.letEventsRun)
            m_context.letEventsRun();
        return !stopped();
    }

    void printAt(int x, const QString& text, LineEnd end)
    {
        m_printer.setCurrentX(x);
        m_printer.print(text, end);
    }

    // A path after label at x, shortened to end inside the printable area
    // with the file's own name whole, and the line ended.
    void printPath(int x, const QString& label, const QString& path)
    {
        const double room = m_printer.printableWidth() - x - m_printer.textWidth(label);
        const QString shown =
            ElidedPath(path, room, [this](const QString& part) { return m_printer.textWidth(part); });
        printAt(x, label + shown, LineEnd::EndLine);
    }

    QString bannerLine() const
    {
        return BannerStart + m_context.banner.date + BannerSeparator + m_context.banner.time + BannerEnd
               + QStringLiteral("\r\n\r\n");
    }

    void listHeader(const QString& lastTitleEnd)
    {
        m_printer.setCurrentY(TopMargin);
        printAt(BannerX, bannerLine(), LineEnd::EndLine);
        printAt(800, QStringLiteral("Index"), LineEnd::Stay);
        printAt(1500, QStringLiteral("フォント名"), LineEnd::Stay);
        printAt(4700, QStringLiteral("ファイルサイズ(Byte）"), LineEnd::Stay);
        printAt(6700, QStringLiteral("ファイル名") + lastTitleEnd, LineEnd::EndLine);
    }

    // A page the printer began by itself starts at the top margin; nothing
    // of the header is repeated.
    bool comparePage()
    {
        if (m_printer.page() != m_context.CurrentPrintPage) {
            m_printer.setCurrentY(TopMargin);
            ++m_context.CurrentPrintPage;
            if (m_context.showProgress)
                m_context.showProgress(PageProgressText(m_context.CurrentPrintPage));
            return letEventsRun();
        }
        return !stopped();
    }

    // The blank lets the printer change the page before the row.
    bool newPageCheck()
    {
        m_printer.print(QStringLiteral(" "), LineEnd::Stay);
        return comparePage();
    }

    bool endLine()
    {
        m_printer.print(QStringLiteral("\r\n "), LineEnd::Stay);
        if (!comparePage())
            return false;
        printAt(BannerX, EndLineText, LineEnd::EndLine);
        return !stopped();
    }

    // False when the printout must stop: a fatal lookup or a stopped printer.
    bool lookUp(const QString& name, FontFileInfo& info)
    {
        info = m_context.lookup.LookupFontFile(name);
        if (info.fatalMessage >= 0) {
            outcome = {PrintStatus::Fatal, info.fatalMessage};
            return false;
        }
        return true;
    }

    bool fontRow(const QString& name)
    {
        FontFileInfo info;
        if (!lookUp(name, info))
            return false;
        printAt(1600, OneLineText(name), LineEnd::Stay);
        printAt(4800, info.sizeText, LineEnd::Stay);
        printPath(6800, {}, info.filePath);
        return letEventsRun();
    }

    PrintContext& m_context;
    platform::PrinterDevice& m_printer;
    PrintOutcome outcome;
};

} // namespace

BannerTime BannerTimeFor(const QDateTime& moment, const QLocale& locale)
{
    // The long time form of many locales ends in the zone name, which the
    // system's time form does not show.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QLatin1Char('t'));
    timeFormat = timeFormat.trimmed();
    return {locale.toString(moment.date(), QLocale::ShortFormat), locale.toString(moment.time(), timeFormat)};
}

QString PageProgressText(int page)
{
    return QStringLiteral("ページ ") + QString::number(page) + QStringLiteral(" 送信中...");
}

QString RowNumberText(qsizetype number)
{
    return QLatin1Char(' ') + QString::number(number) + QLatin1Char(' ');
}

QString GroupHeadingText(const QString& label, qsizetype count)
{
    return label + QStringLiteral("   (") + QString::number(count) + QStringLiteral(" Fonts)");
}

PrintOutcome PrintNameList(PrintContext& context)
{
    Printout out(context);
    out.listHeader(QStringLiteral("\r\n"));
    const QStringList& names = context.catalog.AllFontNames;
    for (qsizetype k = 0; k < names.size(); ++k) {
        if (!out.newPageCheck())
            return out.outcome;
        FontFileInfo info;
        if (!out.lookUp(names.at(k), info))
            return out.outcome;
        out.printAt(900, RowNumberText(k + 1), LineEnd::Stay);
        out.printAt(1600, OneLineText(names.at(k)), LineEnd::Stay);
        out.printAt(4800, info.sizeText, LineEnd::Stay);
        out.printPath(6800, {}, info.filePath);
        if (!out.letEventsRun())
            return out.outcome;
    }
    out.endLine();
    return out.outcome;
}

PrintOutcome PrintIndexList(PrintContext& context, const std::array<bool, IndexGroupCount>& selected)
{
    Printout out(context);
    out.listHeader(QString());
    for (int i = 0; i < IndexGroupCount; ++i) {
        if (!selected[std::size_t(i)])
            continue;
        context.printer.print(QStringLiteral("\r\n "), LineEnd::Stay);
        if (!out.comparePage())
            return out.outcome;
        const QStringList& names = context.catalog.Groups[std::size_t(i)].Names;
        out.printAt(900, GroupHeadingText(context.catalog.IndexLabels[std::size_t(i)], names.size()),
                    LineEnd::EndLine);
        if (names.isEmpty()) {
            if (!out.newPageCheck())
                return out.outcome;
            out.printAt(1600, EmptyGroupText, LineEnd::EndLine);
            continue;
        }
        for (const QString& name : names) {
            if (!out.newPageCheck() || !out.fontRow(name))
                return out.outcome;
        }
    }
    out.endLine();
    return out.outcome;
}

PrintOutcome PrintGlyphSample(PrintContext& context, const QString& glyphFont,
                              const std::function<QString()>& printText)
{
    Printout out(context);
    platform::PrinterDevice& printer = context.printer;
    printer.setCurrentY(TopMargin);
    printer.setCurrentX(BannerX);
    printer.setFontSize(9);
    printer.print(out.bannerLine(), LineEnd::EndLine);

    FontFileInfo info;
    if (!out.lookUp(glyphFont, info))
        return out.outcome;
    out.printAt(700, QStringLiteral("フォント名: ") + OneLineText(glyphFont), LineEnd::EndLine);
    out.printAt(700, QStringLiteral("ファイルサイズ(Byte): ") + info.sizeText, LineEnd::EndLine);
    out.printPath(700, QStringLiteral("ファイル名: "), info.filePath);
    printer.print(QString(), LineEnd::EndLine);
    if (out.stopped())
        return out.outcome;

    for (const int size : GlyphSheetSizes) {
        if (!out.letEventsRun())
            return out.outcome;
        printer.setCurrentX(700);
        printer.setFontName(context.labelFace);
        printer.setFontSize(8);
        printer.print(QString::number(size) + QStringLiteral("pt "), LineEnd::Stay);
        printer.setFontName(context.drawingFamily ? context.drawingFamily(glyphFont) : glyphFont);
        printer.setFontSize(size);
        printer.setOwnGlyphsOnly(true);
        printer.print(printText ? printText() : QString(), LineEnd::EndLine);
        printer.setOwnGlyphsOnly(false);
    }

    if (!out.letEventsRun())
        return out.outcome;
    printer.setFontSize(9);
    printer.setFontName(context.labelFace);
    printer.print(QStringLiteral("\r\n"), LineEnd::EndLine);
    out.printAt(BannerX, EndLineText, LineEnd::EndLine);
    out.stopped();
    return out.outcome;
}
