#pragma once

#include <QFont>

// Whether text set in font shows anything. A damaged font file can still
// list its characters while none of its outlines can be read (a file cut
// short); the drawing code then uses it and draws nothing at all, so the
// caller puts a face that draws in its place. A font that lacks the probed
// characters, or that the drawing code does not find, counts as drawing:
// those cases the drawing code handles itself.
bool FontDraws(const QFont& font);
