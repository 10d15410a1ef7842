#include "mivo/Twips.h"

#include "mivo/ScopedHandle.h"

namespace mivo {

TwipsPerPixel ScreenTwipsPerPixel() {
    ScopedGetDC screen(nullptr);
    if (!screen) return {};
    return {TwipsPerPixelAt(::GetDeviceCaps(screen.get(), LOGPIXELSX)),
            TwipsPerPixelAt(::GetDeviceCaps(screen.get(), LOGPIXELSY))};
}

}  // namespace mivo
