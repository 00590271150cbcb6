#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>

// Text set vertically in one face of a font file, shaped with HarfBuzz the
// way Japanese is set top to bottom: with the face's vertical forms of
// brackets, the long-vowel mark, small kana and punctuation where it has
// them. Each line of the text is a column; the next line stands to the left.
//
// Coordinates are pixels, y growing downwards. The first column's centre
// line is x = 0 and its top is y = 0; each later column's centre line lies
// 1.5 em further left.
struct VerticalRun {
    QList<quint32> glyphs;
    // Where each glyph's own origin goes, as a glyph run draws it: top to
    // bottom within a column, centred on the column's centre line.
    QList<QPointF> positions;
    // Each glyph's place in its column: one em wide, from where the pen
    // stood down by the glyph's advance.
    QList<QRectF> cells;
    // For each glyph, the index in the text (UTF-16) of the character it
    // came from.
    QList<quint32> clusters;
    // Whether the face has a vert or vrt2 feature at all.
    bool usedVerticalForms = false;
    // The columns, each one em wide and as tall as its glyphs' advances.
    QRectF bounds;
    QString error; // set when the file could not be read; nothing else is then
};

VerticalRun LayOutVertically(const QString& fontPath, int faceIndex, const QString& text, qreal pixelSize);
