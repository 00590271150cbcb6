#pragma once

namespace platform {

// Makes the program's own texts use the proportional Japanese face the
// system matches. Every window shows Japanese, and a default font without
// Japanese glyphs sends each text through the font fallback, which walks
// every installed family: with thousands of fonts that alone costs seconds.
void useJapaneseUiFont();

// Leaves Qt's font database only the faces the program's own texts use (the
// design faces, installed or matched, and the sans-serif face); the listed
// fonts join it as they are drawn. Call before the first window.
void limitDrawingToUiFaces();

} // namespace platform
