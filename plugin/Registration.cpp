#include "Registration.h"

#include <olectl.h>
#include <wrl/client.h>

#include <string>

#include "ComBoundary.h"
#include "MivoPluginMsgPlus.h"
#include "Module.h"
#include "mivo/ComSupport.h"
#include "mivo/ScopedHandle.h"

namespace mivo::plugin {
namespace {

constexpr wchar_t kProgId[] = L"MivoPluginMsgPlus.Mivo";
constexpr wchar_t kClassDescription[] = L"MivoPluginMsgPlus.Mivo";

std::wstring GuidText(REFGUID guid) {
    wchar_t text[40] = {};
    ::StringFromGUID2(guid, text, 40);
    return text;
}

void SetString(const std::wstring& keyPath, const wchar_t* name, const std::wstring& value) {
    HKEY raw = nullptr;
    LONG rc = ::RegCreateKeyExW(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_SET_VALUE, nullptr, &raw, nullptr);
    if (rc != ERROR_SUCCESS) throw ComError(HRESULT_FROM_WIN32(rc), "The class could not be registered");
    UniqueRegKey key(raw);
    rc = ::RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    if (rc != ERROR_SUCCESS) throw ComError(HRESULT_FROM_WIN32(rc), "The class could not be registered");
}

void DeleteTree(const std::wstring& keyPath) {
    const LONG rc = ::RegDeleteTreeW(HKEY_CLASSES_ROOT, keyPath.c_str());
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND)
        throw ComError(HRESULT_FROM_WIN32(rc), "The class could not be unregistered");
}

}  // namespace

HRESULT RegisterServer() noexcept {
    return ComBoundary(IID_IMivo, [] {
        const std::wstring path = ThisModulePath();
        Microsoft::WRL::ComPtr<ITypeLib> library;
        ThrowIfFailed(::LoadTypeLibEx(path.c_str(), REGKIND_REGISTER, &library),
                      "The type library could not be registered");

        const std::wstring clsidKey = L"CLSID\\" + GuidText(CLSID_Mivo);
        SetString(clsidKey, nullptr, kClassDescription);
        SetString(clsidKey + L"\\InprocServer32", nullptr, path);
        SetString(clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
        SetString(clsidKey + L"\\ProgID", nullptr, kProgId);
        SetString(clsidKey + L"\\VersionIndependentProgID", nullptr, kProgId);
        SetString(clsidKey + L"\\TypeLib", nullptr, GuidText(LIBID_MivoPluginMsgPlus));
        SetString(clsidKey + L"\\Version", nullptr, L"1.0");
        SetString(clsidKey + L"\\Programmable", nullptr, L"");
        SetString(kProgId, nullptr, kClassDescription);
        SetString(std::wstring(kProgId) + L"\\CLSID", nullptr, GuidText(CLSID_Mivo));
    });
}

HRESULT UnregisterServer() noexcept {
    return ComBoundary(IID_IMivo, [] {
        DeleteTree(kProgId);
        DeleteTree(L"CLSID\\" + GuidText(CLSID_Mivo));
        const HRESULT hr = ::UnRegisterTypeLib(LIBID_MivoPluginMsgPlus, 1, 0, LOCALE_NEUTRAL, SYS_WIN32);
        if (FAILED(hr) && hr != TYPE_E_REGISTRYACCESS && hr != TYPE_E_LIBNOTREGISTERED)
            throw ComError(hr, "The type library could not be unregistered");
    });
}

}  // namespace mivo::plugin
