#pragma once
// The resolution the main window works at: its layout from the design's twips, the grid's
// sizing and the mouse positions its picture boxes report in twips all use these values.
#include "mivo/Twips.h"

namespace mivo {

// The screen's twips per pixel, read once.
const TwipsPerPixel& WindowTwipsPerPixel();

inline double TwipsPerPixelX() { return WindowTwipsPerPixel().x; }
inline double TwipsPerPixelY() { return WindowTwipsPerPixel().y; }

inline int TwipsToPixelsX(double twips) { return TwipsToPixels(twips, TwipsPerPixelX()); }
inline int TwipsToPixelsY(double twips) { return TwipsToPixels(twips, TwipsPerPixelY()); }
inline PixelRect ToPixels(const TwipsRect& r) { return ToPixels(r, WindowTwipsPerPixel()); }

}  // namespace mivo
