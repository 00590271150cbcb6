#pragma once

#include "platform/Platform.h"

#include <QDialog>
#include <QRawFont>
#include <QSizeF>
#include <QStringList>

#include <optional>

class QComboBox;
class QPushButton;

// What every page of a report carries, so that a printout filed with others
// says where and when it was made: "2026-12-09 14:03　proof-01" on the left,
// "1 / 3" on the right.
struct ReportHeading {
    QString printedAt;
    QString machineName;
};
ReportHeading HeadingNow(const QString& machineName);

// A sample in a report: glyphs of one face, already set, with their
// positions in points from the figure's top-left corner.
struct ReportFigure {
    QRawFont font;
    double pointSize = 0;
    QList<quint32> glyphs;
    QList<QPointF> positions;
    QSizeF size; // in points
};

// One line of a report's text, or a figure.
struct ReportItem {
    QString line;
    std::optional<ReportFigure> figure;
};

// Prints lines of text on A4 pages in face under each page's heading; false
// when the printer refused the job.
bool PrintReportLines(platform::PrinterDevice& printer, const QStringList& lines, const QString& face,
                      const ReportHeading& heading);
// The same with figures among the lines. A figure that does not fit below
// the lines before it starts the next page.
bool PrintReport(platform::PrinterDevice& printer, const QList<ReportItem>& items, const QString& face,
                 const ReportHeading& heading);

// A file name made from a report's name: a separator or a control character
// in a font's name would name another folder or no file at all.
QString ReportFileName(const QString& name, const QString& suffix);

// The print dialog of a report from the windows beyond the lists (a font's
// coverage): the same printers as the print dialog, the built-in PDF printer
// last.
class ReportPrintDialog : public QDialog {
    Q_OBJECT

public:
    // documentName names the PDF the built-in file printer offers.
    ReportPrintDialog(const QStringList& lines, const QString& documentName, platform::Platform& platform,
                      QWidget* parent = nullptr);
    ReportPrintDialog(QList<ReportItem> items, const QString& documentName, platform::Platform& platform,
                      QWidget* parent = nullptr);

    // Prints on the chosen printer; a failure shows the print error message.
    void Print_Click();

    QComboBox* PrinterList = nullptr;
    QPushButton* PrintButton = nullptr;

private:
    QList<ReportItem> m_items;
    QString m_documentName;
    platform::Platform& m_platform;
};
