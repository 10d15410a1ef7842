#include "InstallLog.h"

#include <windows.h>

#include <cwchar>

#include "mivo/ComModule.h"
#include "mivo/ComSupport.h"
#include "mivo/ScopedHandle.h"

namespace mivo::testbed {
namespace {

std::wstring EscapeControls(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c < 0x20 || c == 0x7F) {
            wchar_t escaped[4];
            std::swprintf(escaped, 4, L"%%%02X", static_cast<unsigned>(c));
            out += escaped;
        } else {
            out += c;
        }
    }
    return out;
}

std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    if (size <= 0) throw ComError(LastErrorHr(), "WideCharToMultiByte");
    std::string out(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size, nullptr, nullptr);
    return out;
}

}  // namespace

void AppendInstallLog(const std::wstring& result, const std::wstring& url) {
    // The serving process's id: tests tell the two homes apart and count started servers.
    const std::string line = ToUtf8(result + L"\t" + EscapeControls(url) + L"\t" +
                                    std::to_wstring(::GetCurrentProcessId()) + L"\r\n");
    const std::wstring path = ModuleFolder() + L"\\content_installer.log";
    // Shared for reading and deleting: tests read and clear it while installers live.
    const UniqueFile file(::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw ComError(LastErrorHr(), "CreateFileW");
    DWORD written = 0;
    if (!::WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) ||
        written != line.size())
        throw ComError(LastErrorHr(), "WriteFile");
}

}  // namespace mivo::testbed
