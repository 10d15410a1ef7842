#pragma once
// Where installed packages end up: the "installed" folder beside the DLL, one file per
// package named after the last segment of its URL.
#include <string>

namespace mivo::testbed {

bool IsCabinet(const std::string& bytes);

// The last path segment of the URL (query and fragment left out), made into a plain file
// name: no folder separators, no characters Windows refuses, no device names.
std::wstring PackageFileName(const std::wstring& url);

// Writes the package into the installed folder, replacing a file of the same name.
// Throws ComError when the folder or the file cannot be written.
void StorePackage(const std::wstring& url, const std::string& bytes);

}  // namespace mivo::testbed
