#pragma once

#include <QGlyphRun>
#include <QList>
#include <QPointF>
#include <QRectF>

class QFont;
class QRawFont;
class QPainter;
#include <QString>
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

// A variation sequence (a character and the selector after it) in laid-out
// text. Qt draws such a character in its default form and hides the
// selector; the face itself may map the sequence to a variant.
struct SequencePlace {
    QGlyphRun base;     // the base character's glyph where the layout put it, at origin
    quint32 variant = 0; // the glyph the face maps the sequence to; 0 when it maps none
    QRectF cell;        // the base's advance across the font's ascent, at origin
    int position = 0;   // the base's index in the layout's text
};
// Whether text holds a variation selector at all.
bool hasVariationSelector(const QString& text);
// A text document's block keeps no text in its layout: its text is then
// given apart.
QList<SequencePlace> variationSequences(const QTextLayout& layout, QPointF origin, const QString& text = {});

// Draws those boxes with the painter's pen, and one round each sequence the
// face lacks, which shows as its base character.
void markMissingGlyphs(QPainter& painter, const QTextLayout& layout, QPointF origin, const QString& text = {});

// Draws layout at origin as QTextLayout::draw does, but each variation
// sequence in the variant its face maps; then marks what is missing.
void drawLayoutMarkingMissing(QPainter& painter, const QTextLayout& layout, QPointF origin);

// Draws text in font with its top-left corner at topLeft, a line per line
// feed, each line as wide as it needs, and marks its missing glyphs.
void drawTextMarkingMissing(QPainter& painter, const QFont& font, const QString& text, QPointF topLeft);

} // namespace platform
