#pragma once

#include "platform/Platform.h"

#include <QDialog>
#include <QStringList>

class QComboBox;
class QPushButton;

// Prints lines of text from the top of an A4 page in face, each line where
// the last ended, a new page where they run over; false when the printer
// refused the job.
bool PrintReportLines(platform::PrinterDevice& printer, const QStringList& lines, const QString& face);

// The print dialog of a report from the windows beyond the lists (a font's
// coverage): the same printers as the print dialog, the built-in PDF printer
// last.
class ReportPrintDialog : public QDialog {
    Q_OBJECT

public:
    ReportPrintDialog(const QStringList& lines, platform::Platform& platform, QWidget* parent = nullptr);

    // Prints on the chosen printer; a failure shows the print error message.
    void Print_Click();

    QComboBox* PrinterList = nullptr;
    QPushButton* PrintButton = nullptr;

private:
    QStringList m_lines;
    platform::Platform& m_platform;
};
