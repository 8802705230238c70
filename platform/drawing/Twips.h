#pragma once

// Window layouts are drawn up in twips: 1/1440 inch, 15 to the pixel at 96 dpi.
namespace Twips {

constexpr int kPerPixel = 15;

// Twips to whole pixels, rounded to the nearest pixel.
constexpr int ToPixels(int twips) { return (twips + kPerPixel / 2) / kPerPixel; }

}  // namespace Twips
