#pragma once
// Text conversions between our UTF-16 strings and the system ANSI code page.
#include <string>
#include <string_view>

namespace mivo {

std::string ToAnsi(const std::wstring& text);
std::wstring FromAnsi(const std::string& text);

// Whole-string, case-insensitive comparison by the system's upper-case table: no letter
// is ignored or folded with another the way a locale's linguistic rules would.
bool EqualsIgnoreCase(std::wstring_view a, std::wstring_view b);
// The same order-wise: negative, zero or positive as a sorts before, with or after b.
int CompareIgnoreCase(std::wstring_view a, std::wstring_view b);

}  // namespace mivo
