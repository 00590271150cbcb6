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
