#pragma once

#include "platform/InstalledFonts.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QObject;

namespace platform {

// Qt's font database describes every font the configuration lists, at a cost
// in time and memory that grows with each installed font, before the first
// window draws. The program's own texts need only a few faces, and a listed
// font is drawn only when somebody looks at it; so Qt is given a configuration
// that lists just those faces, and each font joins the drawing code the first
// time it is drawn.

// Gives Qt a configuration with the same rules that lists only the faces of
// the given families and of the sans-serif face the program's texts fall back
// on. Call it once, after the application object exists and before any
// text is measured or drawn. Returns false (and changes nothing) when the
// configuration cannot be made; Qt then lists every font, as by default.
bool limitDrawingFonts(const QStringList& uiFamilies);

// Whether limitDrawingFonts took effect, so fonts must be added as drawn.
bool drawingFontsLimited();

// Makes the files of a family known to the drawing code; each file only once.
// Does nothing when the drawing code already lists every font.
void makeDrawable(const QStringList& files);

// Each font the drawing code knows costs memory and slows the next one it
// learns, so after many have gathered they are all let go at once, between
// events. A window that shows a listed font gives the step that sets its font
// again (through FontList::drawingFamily); it runs after each release while
// owner lives, and the fonts it asks for join again.
void redrawAfterRelease(QObject* owner, std::function<void()> redraw);

// How many files may gather before they are let go (128 unless set).
void releaseDrawableFilesAfter(int files);

// How many files the drawing code holds on behalf of the listed fonts.
int drawableFileCount();

// Lets go of those files now, rather than after the next many.
void releaseDrawableFiles();

} // namespace platform
