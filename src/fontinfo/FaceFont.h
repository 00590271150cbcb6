#pragma once

#include <QRawFont>
#include <QString>

// The glyphs of one face of a font file, read from the file itself and never
// from a font of the same name the system may hold. QRawFont reads only the
// first face of a file, so a later face of a collection is first copied out
// into a font of its own, table by table. The bits above the lowest 16 of
// index name a variable font's instance; the default instance is drawn. An
// invalid font when the file cannot be read.
QRawFont RawFontOfFace(const QString& path, int index, qreal pixelSize);
