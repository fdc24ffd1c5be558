#pragma once
// Window geometry is kept in twips (1/1440 inch) with a fixed 15 twips per pixel.
// Plain C++, so that the Win32 files may use it too.
#include <cmath>

namespace common {

constexpr int TwipsPerPixel = 15;

constexpr int pixelsToTwips(int pixels) { return pixels * TwipsPerPixel; }
constexpr double toTwips(int pixels) { return double(pixels) * TwipsPerPixel; }

// The nearest pixel, halves away from zero. A whole number of twips never falls on a
// half (15 is odd), so for those every rounding rule gives this result.
inline int toPixels(double twips) { return int(std::lround(twips / TwipsPerPixel)); }

// Whole pixels with the remainder dropped, for sizes laid out in whole pixels.
constexpr int toWholePixels(int twips) { return twips / TwipsPerPixel; }

}  // namespace common
