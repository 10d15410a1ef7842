#include "Twips.h"

namespace mivo {

const TwipsPerPixel& WindowTwipsPerPixel() {
    static const TwipsPerPixel value = ScreenTwipsPerPixel();
    return value;
}

}  // namespace mivo
