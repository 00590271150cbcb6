#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>

class QFont;
class QGlyphRun;
class QRawFont;
class QPainter;
class QString;
class QTextLayout;

namespace platform {

// A sample is drawn with its font's own glyphs only, so a character the font
// lacks shows as the font's missing-glyph. Many fonts draw that glyph as a
// box; some leave it blank, which would hide the gap. These helpers find such
// blank ones and draw a box in their place, the same in every window and on
// paper.

// Whether the font draws its missing-glyph as nothing at all.
bool missingGlyphIsBlank(const QRawFont& font);

// Where layout, drawn at origin, shows a blank missing-glyph: one box each,
// within the glyph's advance and the font's ascent.
QList<QRectF> blankMissingGlyphBoxes(const QTextLayout& layout, QPointF origin);
// The same for glyph runs laid out by hand.
QList<QRectF> blankMissingGlyphBoxes(const QList<QGlyphRun>& runs, QPointF origin);

// Draws those boxes with the painter's pen.
void markMissingGlyphs(QPainter& painter, const QTextLayout& layout, QPointF origin);

// Draws text in font with its top-left corner at topLeft, a line per line
// feed, each line as wide as it needs, and marks its missing glyphs.
void drawTextMarkingMissing(QPainter& painter, const QFont& font, const QString& text, QPointF topLeft);

} // namespace platform
