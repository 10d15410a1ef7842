#pragma once
// Twips (1/1440 inch) to pixels, the way the window's design is given: each coordinate
// divided by the screen's twips per pixel and rounded, halves to even.
#include <windows.h>

namespace mivo {

struct TwipsRect {
    int left, top, width, height;
};

int TwipsPerPixelX();
int TwipsPerPixelY();

int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);

// left/top/width/height in pixels, packed in a RECT as (left, top, width, height).
struct PixelRect {
    int left, top, width, height;
};
PixelRect ToPixels(const TwipsRect& r);

}  // namespace mivo
