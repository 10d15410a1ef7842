#pragma once
// A cheap look at an answer before the XML parser gets it: the parser's work grows faster
// than the text with some markup (one element with 100,000 attributes kept it busy for
// seconds), so markup far beyond anything a real list carries is never parsed.
#include <string>

namespace mivo {

// True when text stays within what the largest real list can need: the size, the number of
// elements, the attributes of one element, the nesting, and no document type declaration.
bool WithinListBounds(const std::wstring& text);

}  // namespace mivo
