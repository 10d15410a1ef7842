#include "Module.h"

#include <string>
#include <vector>

#include "mivo/ComSupport.h"

// The linker's symbol for the start of the image this code is in.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace mivo::plugin {
namespace {
volatile LONG lockCount = 0;
}  // namespace

std::wstring ThisModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = ::GetModuleFileNameW(ThisModule(), path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) ThrowIfFailed(HRESULT_FROM_WIN32(::GetLastError()), "GetModuleFileName");
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

HMODULE ThisModule() noexcept { return reinterpret_cast<HMODULE>(&__ImageBase); }

void LockModule() noexcept { ::InterlockedIncrement(&lockCount); }
void UnlockModule() noexcept { ::InterlockedDecrement(&lockCount); }
LONG ModuleLockCount() noexcept { return lockCount; }

ModuleVersion ReadModuleVersion() {
    const std::wstring path = ThisModulePath();
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) ThrowIfFailed(HRESULT_FROM_WIN32(::GetLastError()), "GetFileVersionInfoSize");
    std::vector<BYTE> block(size);
    if (!::GetFileVersionInfoW(path.c_str(), 0, size, block.data()))
        ThrowIfFailed(HRESULT_FROM_WIN32(::GetLastError()), "GetFileVersionInfo");
    void* data = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(block.data(), L"\\", &data, &length) || length < sizeof(VS_FIXEDFILEINFO))
        throw ComError(HRESULT_FROM_WIN32(ERROR_RESOURCE_TYPE_NOT_FOUND), "no fixed version information");
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(data);
    return {HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionLS)};
}

}  // namespace mivo::plugin
