#pragma once
// Number conversions of the catalogue: nearest integer with halves to even, and
// checked narrowing to the signed 16-bit values the grid and the protocol carry.
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace mivo {

// Nearest integer, a half going to the even neighbour (76.5 -> 76, 123.5 -> 124).
inline long NearestEven(double v) {
    return static_cast<long>(std::nearbyint(v));  // the default rounding mode is to-nearest-even
}

class OverflowError : public std::overflow_error {
public:
    using std::overflow_error::overflow_error;
};

inline std::int16_t CheckedInt16(long long v) {
    if (v < INT16_MIN || v > INT16_MAX) throw OverflowError("value does not fit 16 bits");
    return static_cast<std::int16_t>(v);
}

// Decimal text to a signed 32-bit number: optional blanks and sign, digits only.
// Throws std::invalid_argument or OverflowError, as a type conversion would fail.
std::int32_t ParseInt32(const std::wstring& text);

// Decimal text to a signed 16-bit number (rounding is not accepted: integers only).
inline std::int16_t ParseInt16(const std::wstring& text) { return CheckedInt16(ParseInt32(text)); }

}  // namespace mivo
