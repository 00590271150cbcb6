#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

// The print dialog's placement: centred on the main window, never above or
// left of the screen's origin. All in twips.
QPoint Form7Position(const QRect& mainWindow, const QSize& dialog);

// The copies field read as a number: its leading digits (after blanks),
// 0 when there are none.
int CopiesValue(const QString& text);

// Whether a typed character may go into the copies field without a warning:
// the digits, Enter and Backspace.
bool CopiesKeyAccepted(QChar typed);
