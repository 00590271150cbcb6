#include "printing/ReportPrinting.h"

#include "core/Messages.h"

#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace {

constexpr int LeftMarginTwips = 700;
constexpr int TopMarginTwips = 500;
constexpr int ReportPoints = 10;
constexpr double TwipsPerPoint = 20;

QList<ReportItem> itemsOf(const QStringList& lines)
{
    QList<ReportItem> items;
    items.reserve(lines.size());
    for (const QString& line : lines)
        items.append({line, std::nullopt});
    return items;
}

} // namespace

ReportHeading HeadingNow(const QString& machineName)
{
    return {QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")), machineName};
}

bool PrintReportLines(platform::PrinterDevice& printer, const QStringList& lines, const QString& face,
                      const ReportHeading& heading)
{
    return PrintReport(printer, itemsOf(lines), face, heading);
}

bool PrintReport(platform::PrinterDevice& printer, const QList<ReportItem>& items, const QString& face,
                 const ReportHeading& heading)
{
    printer.setPortraitA4();
    printer.setAutomaticPaperSource();
    printer.setFontSize(ReportPoints);
    printer.setFontName(face);
    // The pages are laid out before the first is printed, for "1 / 3"; the
    // heading and the blank line under it take two lines of each page.
    const int line = std::max(1, printer.lineHeight());
    const int room = std::max(line, printer.printableHeight() - TopMarginTwips - 2 * line);
    // A figure taller than a page stands alone on one, cut at its bottom,
    // rather than sending the printer on to a page of its own.
    const auto heightOf = [line, room](const ReportItem& item) {
        return item.figure ? std::min(room, int(std::ceil(item.figure->size.height() * TwipsPerPoint))) : line;
    };
    QList<qsizetype> pageStarts{0};
    int used = 0;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const int height = heightOf(items.at(i));
        if (used > 0 && used + height > room) {
            pageStarts << i;
            used = 0;
        }
        used += height;
    }
    const qsizetype pages = pageStarts.size();
    QString left = heading.printedAt;
    if (!heading.machineName.isEmpty())
        left += QStringLiteral("　") + heading.machineName;
    for (qsizetype page = 0; page < pages; ++page) {
        if (page > 0) {
            // A line that cannot fit starts the next page.
            printer.setCurrentY(printer.printableHeight());
            printer.print(QString(), platform::LineEnd::EndLine);
        }
        printer.setCurrentY(TopMarginTwips);
        printer.setCurrentX(LeftMarginTwips);
        printer.print(left, platform::LineEnd::Stay);
        const QString number = QStringLiteral("%1 / %2").arg(page + 1).arg(pages);
        printer.setCurrentX(std::max(LeftMarginTwips, printer.printableWidth() - LeftMarginTwips
                                                          - int(std::ceil(printer.textWidth(number)))));
        printer.print(number, platform::LineEnd::EndLine);
        printer.print(QString(), platform::LineEnd::EndLine);
        const qsizetype end = page + 1 < pages ? pageStarts.at(page + 1) : items.size();
        for (qsizetype i = pageStarts.at(page); i < end; ++i) {
            if (printer.failed() || printer.killed())
                return false;
            const ReportItem& item = items.at(i);
            printer.setCurrentX(LeftMarginTwips);
            if (item.figure)
                printer.printGlyphs(item.figure->font, item.figure->pointSize, item.figure->glyphs,
                                    item.figure->positions, heightOf(item));
            else
                printer.print(item.line, platform::LineEnd::EndLine);
        }
    }
    return !printer.failed() && !printer.killed() && printer.endJob();
}

QString ReportFileName(const QString& name, const QString& suffix)
{
    QString file;
    for (const QChar c : name)
        file += c == u'/' || c == u'\\' || c.category() == QChar::Other_Control ? QChar(u'_') : c;
    file = file.trimmed();
    if (file.isEmpty() || file == u"." || file == u"..")
        file = QStringLiteral("Glyfaro2");
    return file + u'.' + suffix;
}

ReportPrintDialog::ReportPrintDialog(const QStringList& lines, const QString& documentName,
                                     platform::Platform& platform, QWidget* parent)
    : ReportPrintDialog(itemsOf(lines), documentName, platform, parent)
{
}

ReportPrintDialog::ReportPrintDialog(QList<ReportItem> items, const QString& documentName,
                                     platform::Platform& platform, QWidget* parent)
    : QDialog(parent)
    , m_items(std::move(items))
    , m_documentName(documentName)
    , m_platform(platform)
{
    setWindowTitle(QStringLiteral("印刷"));
    PrinterList = new QComboBox(this);
    PrinterList->addItems(m_platform.printers.printerNames());
    auto buttons = new QDialogButtonBox(this);
    PrintButton = buttons->addButton(QStringLiteral("印刷"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    PrintButton->setEnabled(PrinterList->count() > 0);
    connect(buttons, &QDialogButtonBox::accepted, this, &ReportPrintDialog::Print_Click);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("プリンタ:"), PrinterList);
    layout->addRow(buttons);
}

void ReportPrintDialog::Print_Click()
{
    platform::Printers::Job job =
        m_platform.printers.startJob(PrinterList->currentIndex(), ReportFileName(m_documentName, QStringLiteral("pdf")));
    if (job.cancelled)
        return;
    const QString face = m_platform.fonts.designFace(platform::DesignFace::ProportionalGothic);
    if (!job.device || !PrintReport(*job.device, m_items, face, HeadingNow(m_platform.system.machineName()))) {
        if (job.device)
            job.device->killJob();
        ShowMessage(m_platform.dialogs, MessagePrintFailed);
        return;
    }
    accept();
}
