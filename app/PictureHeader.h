#pragma once
// What a picture file claims about itself, read from its bytes before any decoder sees them.
// A decoder trusts the sizes in a header: a file of a hundred bytes can ask it for gigabytes
// of pixels or thousands of frames, and the window would stop answering while it works.
#include <cstddef>
#include <cstdint>

namespace mivo {

enum class PictureFormat { None, Png, Gif, Jpeg, Bmp, Ico };

struct PictureLimits {
    std::uint32_t maxSide;        // pixels, either side of the picture or of any frame
    std::uint64_t maxPixels;      // width x height of the picture; an icon's pictures added up
    std::uint32_t maxFrames;      // frames of an animated GIF, pictures in an icon file
    std::uint64_t maxGifPixels;   // a GIF's logical screen, and its frames' areas added up: GIF
                                  // decoding costs far more per pixel and per frame
};

// The format of the bytes when they are a PNG, GIF (animated too), JPEG, BMP or ICO file
// whose declared sizes stay within the limits; None for anything else, for a header cut
// short and for zero sizes. The file type a catalogue names is not asked: only the bytes count.
PictureFormat CheckPictureHeader(const std::uint8_t* data, std::size_t size, const PictureLimits& limits);

}  // namespace mivo
