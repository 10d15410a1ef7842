#include "ListBounds.h"

#include <cwchar>

namespace mivo {
namespace {

// The largest real list is 1,192 emoticons, each one element with two or three short
// attributes and a title: about 60 KB, 1,200 elements and 3,600 attributes, two levels deep.
// The bounds leave ample room above it; the largest document within them parses in a few
// hundred milliseconds under Wine.
constexpr size_t kMaxChars = 2u * 1024 * 1024;
constexpr long kMaxElements = 5000;
constexpr long kMaxAttributes = 12000;
constexpr long kMaxAttributesPerElement = 8;
constexpr long kMaxDepth = 16;

bool StartsWith(const std::wstring& text, size_t at, const wchar_t* prefix) {
    return text.compare(at, std::wcslen(prefix), prefix) == 0;
}

// The position just past the first end after at, or npos when there is none.
size_t SkipPast(const std::wstring& text, size_t at, const wchar_t* end) {
    const size_t found = text.find(end, at);
    return found == std::wstring::npos ? found : found + std::wcslen(end);
}

}  // namespace

bool WithinListBounds(const std::wstring& text) {
    if (text.size() > kMaxChars) return false;
    long elements = 0, attributes = 0, depth = 0;
    size_t i = 0;
    while ((i = text.find(L'<', i)) != std::wstring::npos) {
        if (StartsWith(text, i, L"<!--")) {
            i = SkipPast(text, i + 4, L"-->");
        } else if (StartsWith(text, i, L"<![CDATA[")) {
            i = SkipPast(text, i + 9, L"]]>");
        } else if (StartsWith(text, i, L"<!")) {
            return false;  // a document type declaration: never parsed
        } else if (StartsWith(text, i, L"<?")) {
            i = SkipPast(text, i + 2, L"?>");
        } else if (StartsWith(text, i, L"</")) {
            if (depth > 0) --depth;
            i = SkipPast(text, i + 2, L">");
        } else {
            if (++elements > kMaxElements) return false;
            // The start tag up to its end: attributes are counted by their "=" outside quotes.
            long own = 0;
            wchar_t quote = 0;
            size_t j = i + 1;
            for (; j < text.size(); ++j) {
                const wchar_t c = text[j];
                if (quote) {
                    if (c == quote) quote = 0;
                } else if (c == L'"' || c == L'\'') {
                    quote = c;
                } else if (c == L'=') {
                    if (++own > kMaxAttributesPerElement || ++attributes > kMaxAttributes) return false;
                } else if (c == L'>') {
                    break;
                }
            }
            if (j == text.size()) return true;  // cut off: the parser fails on it at once
            if (text[j - 1] != L'/' && ++depth > kMaxDepth) return false;
            i = j + 1;
        }
        if (i == std::wstring::npos) return true;
    }
    return true;
}

}  // namespace mivo
