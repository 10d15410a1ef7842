#pragma once
// Picture files forged byte by byte for the tests: real headers and headers that lie about
// their sizes, as a hostile server may send them.
#include <cstdint>
#include <string>

namespace mivo::test::forged {

inline std::string Le16(std::uint32_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)}; }
inline std::string Le32(std::uint32_t v) { return Le16(v & 0xFFFF) + Le16(v >> 16); }
inline std::string Be16(std::uint32_t v) { return {static_cast<char>(v >> 8 & 0xFF), static_cast<char>(v & 0xFF)}; }
inline std::string Be32(std::uint32_t v) { return Be16(v >> 16) + Be16(v & 0xFFFF); }

inline std::string Png(std::uint32_t width, std::uint32_t height) {
    return std::string("\x89PNG\r\n\x1A\n", 8) + Be32(13) + "IHDR" + Be32(width) + Be32(height) +
           std::string("\x08\x06\0\0\0", 5) + Be32(0);
}

// A GIF with the given logical screen and frames, each frame's data one pixel of LZW: a
// decoder that honours the sizes works on every frame.
inline std::string Gif(std::uint32_t width, std::uint32_t height, int frames, std::uint32_t frameWidth,
                std::uint32_t frameHeight) {
    std::string b = "GIF89a" + Le16(width) + Le16(height) + std::string("\x80\0\0", 3) + std::string(6, '\xFF');
    for (int i = 0; i < frames; ++i) {
        b += std::string("\x21\xF9\x04\x04\x05\0\0\0", 8);
        b += "\x2C" + Le16(0) + Le16(0) + Le16(frameWidth) + Le16(frameHeight) + std::string(1, '\0');
        b += std::string("\x02\x02\x4C\x01\0", 5);
    }
    return b + "\x3B";
}

inline std::string Jpeg(std::uint32_t width, std::uint32_t height, char sof = '\xC0') {
    return std::string("\xFF\xD8\xFF\xE0", 4) + Be16(16) + std::string("JFIF\0\1\1\0\0\1\0\1\0\0", 14) +
           "\xFF" + std::string(1, sof) + Be16(17) + "\x08" + Be16(height) + Be16(width) +
           std::string("\x03\x01\x22\0\x02\x11\x01\x03\x11\x01", 10) + "\xFF\xDA" + Be16(12) +
           std::string(10, '\0');
}

inline std::string Dib(std::int32_t width, std::int32_t height, std::uint32_t bits = 24) {
    return Le32(40) + Le32(static_cast<std::uint32_t>(width)) + Le32(static_cast<std::uint32_t>(height)) +
           Le16(1) + Le16(bits) + std::string(24, '\0');
}

inline std::string BmpHeader(std::int32_t width, std::int32_t height) {
    return "BM" + Le32(0) + Le32(0) + Le32(54) + Dib(width, height) + std::string(16, '\0');
}

// An icon file with one entry holding the given picture.
inline std::string Ico(const std::string& picture) {
    return Le16(0) + Le16(1) + Le16(1) + std::string("\x10\x10\0\0", 4) + Le16(1) + Le16(32) +
           Le32(static_cast<std::uint32_t>(picture.size())) + Le32(22) + picture;
}

// A little-endian TIFF whose first directory points at itself.
inline std::string Tiff() { return "II*" + std::string(1, '\0') + Le32(8) + Le16(1) + std::string(12, '\0') + Le32(8); }

// An EMF header (record 1) whose bounds span the whole coordinate space.
inline std::string Emf() {
    return Le32(1) + Le32(108) + Le32(0) + Le32(0) + Le32(0x7FFFFFFF) + Le32(0x7FFFFFFF) + std::string(8, '\0') +
           Le32(0x7FFFFFFF) + Le32(0x7FFFFFFF) + Le32(0x464D4520) + std::string(68, '\0');
}

// A placeable WMF header with the largest bounds.
inline std::string Wmf() {
    return std::string("\xD7\xCD\xC6\x9A", 4) + Le16(0) + Le16(0x8000) + Le16(0x8000) + Le16(0x7FFF) +
           Le16(0x7FFF) + Le16(1) + std::string(6, '\0') + std::string(18, '\0');
}

}  // namespace mivo::test::forged
