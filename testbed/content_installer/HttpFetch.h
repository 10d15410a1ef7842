#pragma once
// Synchronous download of a package URL into memory.
#include <optional>
#include <string>

namespace mivo::testbed {

// The body of the answer, or nothing when the server cannot be reached, the transfer
// breaks off or the status is not 200 OK.
std::optional<std::string> FetchUrl(const std::wstring& url);

}  // namespace mivo::testbed
