#include "Twips.h"

namespace mivo {
namespace {
TwipsPerPixel& Current() {
    static TwipsPerPixel value = ScreenTwipsPerPixel();
    return value;
}
}  // namespace

const TwipsPerPixel& WindowTwipsPerPixel() { return Current(); }
void SetWindowTwipsPerPixel(const TwipsPerPixel& tpp) { Current() = tpp; }

}  // namespace mivo
