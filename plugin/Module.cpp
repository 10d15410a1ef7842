#include "Module.h"

#include <string>
#include <vector>

#include "mivo/ComSupport.h"

namespace mivo::plugin {

ModuleVersion ReadModuleVersion() {
    const std::wstring path = ModulePath();
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
