#pragma once

#include <QString>
#include <array>

// Paging of the preview window: seven fonts a page, read by position from
// the sorted list of all fonts. Positions are plain ints, so a catalogue of
// any size pages to its end.

inline constexpr int PreviewSlotsPerPage = 7;

// The scroll bar's maximum: the whole part of fontCount / 7. The last page
// index is this value, so a multiple of seven leaves the last page empty.
int PreviewMaximum(int fontCount);

// "Page: " + (page + 1) + " / " + (maximum + 1).
QString PreviewCaption(int page, int maximum);

// The font position each slot of a page shows, or -1 for a slot that is
// cleared because it lies past the end of the list.
std::array<int, PreviewSlotsPerPage> PreviewSlotPositions(int page, int fontCount);

// The position a double-click on a slot opens, or -1 when the slot is past
// the end of the list.
int PreviewPositionAt(int page, int slot, int fontCount);

// The vertical measures of one line of text, in pixels: the face's ascent
// and descent, and how far the drawn glyphs reach above and below the
// baseline.
struct PreviewLineMetrics {
    int ascent = 0;
    int descent = 0;
    int inkAbove = 0;
    int inkBelow = 0;
};

// The space kept between a heading's line and the glyphs of its sample.
inline constexpr int PreviewHeadingGapPixels = 2;

// Where a slot's sample line starts, in pixels from the top of the page box.
// The layout was drawn for faces whose glyphs fill their line; a face with
// less room above its glyphs would draw them into the heading, so the sample
// moves down until its glyphs clear the heading's line, but never so far that
// they reach the next slot's heading.
int PreviewSampleTop(int slot, const PreviewLineMetrics& heading, const PreviewLineMetrics& sample);
