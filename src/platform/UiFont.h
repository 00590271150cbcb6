#pragma once

#include <QString>

namespace platform {

// The family the system picks for Japanese sans-serif text; empty when it
// names none.
QString japaneseUiFamily();

// Makes the program's own texts use that family. Every window shows Japanese,
// and a default font without Japanese glyphs sends each text through the
// font fallback, which walks every installed family: with thousands of fonts
// that alone costs seconds.
void useJapaneseUiFont();

} // namespace platform
