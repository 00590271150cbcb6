#include "printing/ReportPrinting.h"

#include "core/Messages.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>

namespace {

constexpr int LeftMarginTwips = 700;
constexpr int TopMarginTwips = 500;
constexpr int ReportPoints = 10;

} // namespace

bool PrintReportLines(platform::PrinterDevice& printer, const QStringList& lines, const QString& face)
{
    printer.setPortraitA4();
    printer.setAutomaticPaperSource();
    printer.setFontSize(ReportPoints);
    printer.setFontName(face);
    printer.setCurrentY(TopMarginTwips);
    for (const QString& line : lines) {
        if (printer.failed() || printer.killed())
            return false;
        printer.setCurrentX(LeftMarginTwips);
        printer.print(line, platform::LineEnd::EndLine);
    }
    return !printer.failed() && printer.endJob();
}

ReportPrintDialog::ReportPrintDialog(const QStringList& lines, platform::Platform& platform, QWidget* parent)
    : QDialog(parent)
    , m_lines(lines)
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
    platform::Printers::Job job = m_platform.printers.startJob(PrinterList->currentIndex());
    if (job.cancelled)
        return;
    const QString face = m_platform.fonts.designFace(platform::DesignFace::ProportionalGothic);
    if (!job.device || !PrintReportLines(*job.device, m_lines, face)) {
        if (job.device)
            job.device->killJob();
        ShowMessage(m_platform.dialogs, MessagePrintFailed);
        return;
    }
    accept();
}
