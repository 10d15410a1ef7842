#pragma once
// Text conversions between our UTF-16 strings and the system ANSI code page.
#include <string>

namespace mivo {

std::string ToAnsi(const std::wstring& text);
std::wstring FromAnsi(const std::string& text);

// Case-insensitive comparison the way the user's locale sees letters.
bool EqualsIgnoreCase(const std::wstring& a, const std::wstring& b);

}  // namespace mivo
