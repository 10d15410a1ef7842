#include "Twips.h"

#include "mivo/Numbers.h"
#include "mivo/ScopedHandle.h"

namespace mivo {
namespace {
int TwipsPerPixel(int capability) {
    ScopedGetDC screen(nullptr);
    int dpi = screen ? ::GetDeviceCaps(screen.get(), capability) : 96;
    return dpi > 0 ? 1440 / dpi : 15;
}
}  // namespace

int TwipsPerPixelX() {
    static const int value = TwipsPerPixel(LOGPIXELSX);
    return value;
}

int TwipsPerPixelY() {
    static const int value = TwipsPerPixel(LOGPIXELSY);
    return value;
}

int TwipsToPixelsX(double twips) { return static_cast<int>(NearestEven(twips / TwipsPerPixelX())); }
int TwipsToPixelsY(double twips) { return static_cast<int>(NearestEven(twips / TwipsPerPixelY())); }

PixelRect ToPixels(const TwipsRect& r) {
    return {TwipsToPixelsX(r.left), TwipsToPixelsY(r.top), TwipsToPixelsX(r.width), TwipsToPixelsY(r.height)};
}

}  // namespace mivo
