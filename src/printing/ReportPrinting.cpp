#include "printing/ReportPrinting.h"

#include "core/Messages.h"

#include <QComboBox>
#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>

namespace {

constexpr int LeftMarginTwips = 700;
constexpr int TopMarginTwips = 500;
constexpr int ReportPoints = 10;

} // namespace

ReportHeading HeadingNow(const QString& machineName)
{
    return {QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")), machineName};
}

QList<ReportPage> PlanReportPages(const QStringList& lines, int linesPerPage, const ReportHeading& heading)
{
    // The heading and the blank line under it take two lines of each page.
    const qsizetype room = std::max(1, linesPerPage - 2);
    const qsizetype count = std::max<qsizetype>(1, (lines.size() + room - 1) / room);
    QString left = heading.printedAt;
    if (!heading.machineName.isEmpty())
        left += QStringLiteral("　") + heading.machineName;
    QList<ReportPage> pages;
    for (qsizetype page = 0; page < count; ++page) {
        pages.append({left, QStringLiteral("%1 / %2").arg(page + 1).arg(count), lines.mid(page * room, room)});
    }
    return pages;
}

bool PrintReportLines(platform::PrinterDevice& printer, const QStringList& lines, const QString& face,
                      const ReportHeading& heading)
{
    printer.setPortraitA4();
    printer.setAutomaticPaperSource();
    printer.setFontSize(ReportPoints);
    printer.setFontName(face);
    const int lineHeight = std::max(1, printer.lineHeight());
    const int linesPerPage = (printer.printableHeight() - TopMarginTwips) / lineHeight;
    const QList<ReportPage> pages = PlanReportPages(lines, linesPerPage, heading);
    for (qsizetype page = 0; page < pages.size(); ++page) {
        if (page > 0) {
            // A line that cannot fit starts the next page.
            printer.setCurrentY(printer.printableHeight());
            printer.print(QString(), platform::LineEnd::EndLine);
        }
        printer.setCurrentY(TopMarginTwips);
        const ReportPage& plan = pages.at(page);
        printer.setCurrentX(LeftMarginTwips);
        printer.print(plan.heading, platform::LineEnd::Stay);
        printer.setCurrentX(std::max(LeftMarginTwips, printer.printableWidth() - LeftMarginTwips
                                                          - int(std::ceil(printer.textWidth(plan.pageNumber)))));
        printer.print(plan.pageNumber, platform::LineEnd::EndLine);
        printer.print(QString(), platform::LineEnd::EndLine);
        for (const QString& line : plan.lines) {
            if (printer.failed() || printer.killed())
                return false;
            printer.setCurrentX(LeftMarginTwips);
            printer.print(line, platform::LineEnd::EndLine);
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
    : QDialog(parent)
    , m_lines(lines)
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
    if (!job.device || !PrintReportLines(*job.device, m_lines, face, HeadingNow(m_platform.system.machineName()))) {
        if (job.device)
            job.device->killJob();
        ShowMessage(m_platform.dialogs, MessagePrintFailed);
        return;
    }
    accept();
}
