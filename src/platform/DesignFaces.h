#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// The faces the windows and printouts were designed with.
enum class DesignFace {
    ProportionalGothic, // "ＭＳ Ｐゴシック": labels, preview headings, printer labels
    FixedGothic,        // "ＭＳ ゴシック": the face a new individual view opens on
};

// The name the layouts give the face.
QString designFaceName(DesignFace face);

// The face to use for a design face: its own name where a font of exactly
// that name is among screenFonts, else the counterpart the font
// configuration matches, named as screenFonts names it. Empty when neither
// exists. Asking Qt for a missing family walks every installed font, so
// callers use only what this returns.
QString resolveDesignFace(DesignFace face, const QStringList& screenFonts);

// The counterpart the font configuration matches for a design face, named
// as the screen-font list names fonts; empty when nothing matches.
QString designFaceCounterpart(DesignFace face);

} // namespace platform
