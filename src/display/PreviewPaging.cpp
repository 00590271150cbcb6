#include "display/PreviewPaging.h"

#include "platform/Twips.h"

#include <algorithm>

namespace {

// The slots' design places, in twips.
constexpr int HeadingTopTwips = 60;
constexpr int SampleTopTwips = 240;
constexpr int SlotPitchTwips = 780;

} // namespace

int PreviewMaximum(int fontCount)
{
    return fontCount > 0 ? fontCount / PreviewSlotsPerPage : 0;
}

QString PreviewCaption(int page, int maximum)
{
    return QStringLiteral("Page: %1 / %2").arg(page + 1).arg(maximum + 1);
}

int PreviewPositionAt(int page, int slot, int fontCount)
{
    if (page < 0 || slot < 0 || slot >= PreviewSlotsPerPage)
        return -1;
    // In 64 bits: the product of a page and seven must not wrap.
    const long long position = static_cast<long long>(page) * PreviewSlotsPerPage + slot;
    return position < fontCount ? static_cast<int>(position) : -1;
}

std::array<int, PreviewSlotsPerPage> PreviewSlotPositions(int page, int fontCount)
{
    std::array<int, PreviewSlotsPerPage> positions{};
    for (int slot = 0; slot < PreviewSlotsPerPage; ++slot)
        positions[std::size_t(slot)] = PreviewPositionAt(page, slot, fontCount);
    return positions;
}

int PreviewSampleTop(int slot, const PreviewLineMetrics& heading, const PreviewLineMetrics& sample)
{
    using platform::twipsToPixels;
    const int headingTop = twipsToPixels(HeadingTopTwips + SlotPitchTwips * slot);
    const int nextHeadingTop = twipsToPixels(HeadingTopTwips + SlotPitchTwips * (slot + 1));
    const int designTop = twipsToPixels(SampleTopTwips + SlotPitchTwips * slot);

    const int headingBottom = headingTop + heading.ascent + heading.descent;
    const int clearOfHeading = headingBottom + PreviewHeadingGapPixels - (sample.ascent - sample.inkAbove);
    const int lowest = nextHeadingTop - PreviewHeadingGapPixels - sample.ascent - sample.inkBelow;
    return std::clamp(clearOfHeading, designTop, std::max(designTop, lowest));
}
