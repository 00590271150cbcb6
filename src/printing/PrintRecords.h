#pragma once

#include <QString>
#include <cstdint>

// The program-wide values the printouts share with their openers.
struct PrintRecords {
    // The font of the glyph sample: written by the individual view, checked
    // by the print dialog, read by the printout.
    QString GlyphSampleFont;
    // The page the list printouts last saw; the print dialog sets it to 1.
    std::int32_t CurrentPrintPage = 0;
};
