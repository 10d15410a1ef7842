#include "mivo/Text.h"
#include "mivo/Numbers.h"

#include <windows.h>

#include <cwctype>

namespace mivo {

std::string ToAnsi(const std::wstring& text) {
    if (text.empty()) return {};
    int n = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                  nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                          nullptr, nullptr);
    return out;
}

std::wstring FromAnsi(const std::string& text) {
    if (text.empty()) return {};
    int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

namespace {

// The invariant locale's upper-case table maps one UTF-16 unit to one, with no linguistic
// rule (Windows XP has no CompareStringOrdinal).
std::wstring UpperInvariant(std::wstring_view text) {
    std::wstring out(text);
    if (!out.empty())
        ::LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, text.data(), static_cast<int>(text.size()), out.data(),
                       static_cast<int>(out.size()));
    return out;
}

}  // namespace

int CompareIgnoreCase(std::wstring_view a, std::wstring_view b) {
    return UpperInvariant(a).compare(UpperInvariant(b));
}

bool EqualsIgnoreCase(std::wstring_view a, std::wstring_view b) {
    // Texts of different lengths never match.
    return a.size() == b.size() && CompareIgnoreCase(a, b) == 0;
}

std::int32_t ParseInt32(const std::wstring& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
    size_t digits = 0;
    long long value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i, ++digits) {
        value = value * 10 + (text[i] - L'0');
        if (value > 2147483648LL) throw OverflowError("value does not fit 32 bits");
    }
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t')) ++i;
    if (digits == 0 || i != text.size()) throw std::invalid_argument("not a decimal number");
    if (negative) value = -value;
    if (value > INT32_MAX || value < INT32_MIN) throw OverflowError("value does not fit 32 bits");
    return static_cast<std::int32_t>(value);
}

}  // namespace mivo
