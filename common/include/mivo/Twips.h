#pragma once
// Twips (1/1440 inch) and pixels. Windows are designed in twips; a screen of d dots per inch
// has 1440 / d twips per pixel, kept exact (7.5 at 192 dpi), so a design measure keeps its
// physical size at any resolution. A pixel from twips is twips / twips per pixel, the nearest
// integer with halves to even; each direction has its own twips per pixel.
#include <windows.h>

#include "mivo/Numbers.h"

namespace mivo {

struct TwipsPerPixel {
    double x = 15, y = 15;
};

constexpr double TwipsPerPixelAt(int dpi) { return dpi > 0 ? 1440.0 / dpi : 15.0; }

// The screen's, from its device context (15 when the screen cannot be asked).
TwipsPerPixel ScreenTwipsPerPixel();

inline int TwipsToPixels(double twips, double twipsPerPixel) {
    return static_cast<int>(NearestEven(twips / twipsPerPixel));
}

inline double PixelsToTwips(double pixels, double twipsPerPixel) { return pixels * twipsPerPixel; }

struct TwipsRect {
    int left, top, width, height;
};

struct PixelRect {
    int left, top, width, height;
};

inline PixelRect ToPixels(const TwipsRect& r, const TwipsPerPixel& tpp) {
    return {TwipsToPixels(r.left, tpp.x), TwipsToPixels(r.top, tpp.y), TwipsToPixels(r.width, tpp.x),
            TwipsToPixels(r.height, tpp.y)};
}

}  // namespace mivo
