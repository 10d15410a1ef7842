// Stands in for the web browser in the test prefix: appends the URL it was asked to open to
// opened-urls.txt beside itself.
#include <windows.h>
#include <shellapi.h>

#include <string>

int main() {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    wchar_t self[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring log(self, n);
    log = log.substr(0, log.find_last_of(L'\\')) + L"\\opened-urls.txt";
    std::wstring line = argc > 1 ? argv[1] : L"";
    line += L"\r\n";
    HANDLE file = ::CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    ::WriteFile(file, line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written, nullptr);
    ::CloseHandle(file);
    ::LocalFree(argv);
    return 0;
}
