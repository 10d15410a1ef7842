#pragma once
// content_installer.log beside the DLL and the server program: one line per install call,
// "<result>\t<url>\t<serving process id>\r\n", in UTF-8, so tests can see what was asked
// for, how it ended and which process served it.
#include <string>

namespace mivo::testbed {

// Appends one line; control characters in the URL are written %XX-escaped so a line
// always stays one line. Throws ComError when the log cannot be written.
void AppendInstallLog(const std::wstring& result, const std::wstring& url);

}  // namespace mivo::testbed
