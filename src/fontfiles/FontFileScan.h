#pragma once

#include "platform/FontSnapshot.h"

#include <QList>
#include <QString>

// What fontconfig makes of a font file from outside, before it is
// installed: each face with the names it will be listed under once it is.
// The same reading fontconfig gives the installed fonts, so a file and an
// installed font are compared by the names every program sees.
struct FontFileScan {
    QString path;
    QList<platform::FontFace> faces; // in the file's order
    // Why the file cannot be used as a font; empty when it can.
    QString error;
    bool ok() const { return error.isEmpty() && !faces.isEmpty(); }
};

FontFileScan ScanFontFile(const QString& path);

// A face as a chooser names it: "IPAゴシック Regular", the family as the
// lists show it.
QString FaceTitle(const platform::FontFace& face);
