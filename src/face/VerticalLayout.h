#pragma once

#include "face/Typesetting.h"

// Text set vertically in one face of a font file, the way Japanese is set
// top to bottom: with the face's vertical forms of brackets, the long-vowel
// mark, small kana and punctuation where it has them. Each line of the text
// is a column; the next line stands to the left.
using VerticalRun = TypesetRun;

VerticalRun LayOutVertically(const QString& fontPath, int faceIndex, const QString& text, qreal pixelSize);
