#pragma once

#include <Qt>

class QFont;
class QPainter;
class QRectF;
class QString;

// Draws text heavier than its face, with the painter's pen colour: the
// glyphs' outline filled together with copies of it moved a little around a
// circle. The artwork shown at start-up uses it instead of a bold face, which
// for a CJK interface face is a second collection of many megabytes to open
// before the first window appears.
// Alignment: Qt::AlignCenter, or Qt::AlignLeft | Qt::AlignVCenter.
void drawHeavyText(QPainter& painter, const QRectF& rect, Qt::Alignment alignment, const QString& text,
                   const QFont& font);
