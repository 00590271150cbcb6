#pragma once

#include <vector>

class QLabel;
class QWidget;

// The layouts were drawn for a Japanese face narrower and shorter than the
// faces found on Linux; these keep every caption whole without moving the
// controls from their rows.

// A control whose caption must be seen whole, and how far (in twips, in its
// parent) its box may grow: right-aligned labels grow to the left, every
// other control to the right.
struct CaptionRoom {
    QWidget* control;
    int leftLimit;
    int rightLimit;
};

// Gives window's font the largest pixel size from largestPixels down to
// smallestPixels at which every caption fits its room, then widens each
// control to its caption within its room and makes it at least one line
// high, centred on its design row. Returns the pixel size chosen.
int fitCaptions(QWidget* window, const std::vector<CaptionRoom>& rooms, int largestPixels,
                int smallestPixels);

// A value label whose text comes from outside (a system name, an owner):
// its own font shrinks down to smallestPixels until the text fits its box,
// and a text still too long ends in an ellipsis.
void fitValueText(QLabel* label, int smallestPixels);
