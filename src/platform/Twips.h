#pragma once

namespace platform {

// Positions and sizes are kept in twips; the screen has 15 twips per logical
// pixel (96 dpi), and Qt scales logical pixels for high-DPI screens.
inline constexpr int TwipsPerPixel = 15;

constexpr int twipsToPixels(int twips)
{
    return twips >= 0 ? (twips + TwipsPerPixel / 2) / TwipsPerPixel
                      : -((-twips + TwipsPerPixel / 2) / TwipsPerPixel);
}

constexpr int pixelsToTwips(int pixels)
{
    return pixels * TwipsPerPixel;
}

} // namespace platform
