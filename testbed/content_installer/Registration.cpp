// Self-registration: the class under Messenger's class id, its in-process server with the
// apartment threading model, a ProgID and the embedded type library.
#include <windows.h>
#include <olectl.h>
#include <wrl/client.h>

#include <string>

#include "ComGuard.h"
#include "MessengerContentInstaller.h"
#include "Module.h"
#include "mivo/ScopedHandle.h"

namespace {

using mivo::ComError;
using mivo::testbed::Guarded;

const wchar_t kProgId[] = L"MivoTestbed.ContentInstaller";
const wchar_t kDescription[] = L"Mivo testbed content installer";

std::wstring GuidText(REFGUID guid) {
    wchar_t text[40];
    if (!::StringFromGUID2(guid, text, 40)) throw ComError(E_UNEXPECTED, "StringFromGUID2");
    return text;
}

// Creates HKEY_CLASSES_ROOT\<path> and sets one string value (nullptr name: the default).
void SetClassesValue(const std::wstring& path, const wchar_t* name, const std::wstring& value) {
    HKEY raw = nullptr;
    LONG status = ::RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    KEY_SET_VALUE, nullptr, &raw, nullptr);
    if (status != ERROR_SUCCESS) throw ComError(HRESULT_FROM_WIN32(status), "RegCreateKeyExW");
    const mivo::UniqueRegKey key(raw);
    status = ::RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    if (status != ERROR_SUCCESS) throw ComError(HRESULT_FROM_WIN32(status), "RegSetValueExW");
}

HRESULT DeleteClassesTree(const std::wstring& path) {
    const LONG status = ::RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(status);
}

}  // namespace

STDAPI DllRegisterServer() {
    return Guarded([] {
        const std::wstring path = mivo::testbed::ModulePath();
        Microsoft::WRL::ComPtr<ITypeLib> typeLib;
        mivo::ThrowIfFailed(::LoadTypeLibEx(path.c_str(), REGKIND_REGISTER, &typeLib), "register type library");

        const std::wstring clsidKey = L"CLSID\\" + GuidText(CLSID_MessengerContentInstaller);
        SetClassesValue(clsidKey, nullptr, kDescription);
        SetClassesValue(clsidKey + L"\\InprocServer32", nullptr, path);
        SetClassesValue(clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
        SetClassesValue(clsidKey + L"\\ProgID", nullptr, kProgId);
        SetClassesValue(clsidKey + L"\\TypeLib", nullptr, GuidText(LIBID_MessengerContentInstallerLibrary));
        SetClassesValue(clsidKey + L"\\Version", nullptr, L"1.0");
        SetClassesValue(kProgId, nullptr, kDescription);
        SetClassesValue(std::wstring(kProgId) + L"\\CLSID", nullptr, GuidText(CLSID_MessengerContentInstaller));
        return S_OK;
    });
}

STDAPI DllUnregisterServer() {
    return Guarded([] {
        HRESULT hr = DeleteClassesTree(L"CLSID\\" + GuidText(CLSID_MessengerContentInstaller));
        const HRESULT progIdHr = DeleteClassesTree(kProgId);
        if (SUCCEEDED(hr)) hr = progIdHr;
        // A type library that is not registered is as good as unregistered.
        const HRESULT typeLibHr = ::UnRegisterTypeLib(LIBID_MessengerContentInstallerLibrary, 1, 0, LOCALE_NEUTRAL,
                                                      SYS_WIN32);
        if (SUCCEEDED(hr) && FAILED(typeLibHr) && typeLibHr != TYPE_E_REGISTRYACCESS &&
            typeLibHr != TYPE_E_CANTLOADLIBRARY)
            hr = typeLibHr;
        return hr;
    });
}
