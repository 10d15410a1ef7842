#include "HttpFetch.h"

#include <windows.h>
#include <wininet.h>

#include "mivo/ScopedHandle.h"

namespace mivo::testbed {
namespace {

struct InternetHandleTraits {
    static HINTERNET invalid() noexcept { return nullptr; }
    static void close(HINTERNET h) noexcept { ::InternetCloseHandle(h); }
};
using UniqueInternetHandle = UniqueResource<HINTERNET, InternetHandleTraits>;

}  // namespace

std::optional<std::string> FetchUrl(const std::wstring& url) {
    // An embedded NUL would make WinINet fetch a different, shorter URL.
    if (url.empty() || url.find(L'\0') != std::wstring::npos) return std::nullopt;
    const UniqueInternetHandle session(
        ::InternetOpenW(L"MivoTestbedContentInstaller/1.0", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) return std::nullopt;
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_COOKIES |
                        INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_AUTH;
    const UniqueInternetHandle request(::InternetOpenUrlW(session.get(), url.c_str(), nullptr, 0, flags, 0));
    if (!request) return std::nullopt;

    DWORD status = 0;
    DWORD size = sizeof status;
    if (!::HttpQueryInfoW(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) ||
        status != HTTP_STATUS_OK)
        return std::nullopt;

    std::string body;
    char buffer[16384];
    for (;;) {
        DWORD read = 0;
        if (!::InternetReadFile(request.get(), buffer, sizeof buffer, &read)) return std::nullopt;
        if (read == 0) return body;
        body.append(buffer, read);
    }
}

}  // namespace mivo::testbed
