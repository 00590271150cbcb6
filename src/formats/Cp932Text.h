#pragma once

#include <QByteArray>
#include <QString>

struct Cp932Text {
    QByteArray bytes;
    // True when some characters could not be held and were replaced.
    bool substituted = false;
};

// A text in code page 932 for a file that other machines read. A character
// the code page cannot hold becomes "?", the code page's default character:
// the encoder's own substitute (FC FC) is no valid character on reading, so
// the whole record would count as damaged.
Cp932Text EncodeForFile(const QString& text);
