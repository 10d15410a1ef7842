#include <olectl.h>
#include <wrl/client.h>

#include <string>

#include "mivo/ComBoundary.h"
#include "mivo/ComModule.h"
#include "mivo/ComServer.h"
#include "mivo/Registry.h"
#include "mivo/ScopedHandle.h"

namespace mivo {
namespace {

std::wstring GuidText(REFGUID guid) {
    wchar_t text[40] = {};
    if (!::StringFromGUID2(guid, text, 40)) throw ComError(E_UNEXPECTED, "StringFromGUID2");
    return text;
}

// Creates HKEY_CLASSES_ROOT\<path> and sets one string value (nullptr name: the default).
void SetClassesValue(const std::wstring& path, const wchar_t* name, const std::wstring& value) {
    const LONG rc = SetRegValue(HKEY_CLASSES_ROOT, path.c_str(), name, REG_SZ, value.c_str(),
                                static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    if (rc != ERROR_SUCCESS) throw ComError(HRESULT_FROM_WIN32(rc), "The class could not be registered");
}

HRESULT DeleteClassesTree(const std::wstring& path) noexcept {
    const LONG rc = DeleteRegTree(HKEY_CLASSES_ROOT, path.c_str());
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(rc);
}

// The class, its ProgID and its type library, served as `serverKey` says (InprocServer32 or
// LocalServer32, with its value); the other kind of server is removed, so COM starts this one.
void RegisterClassServedBy(const ComClass& cls, const wchar_t* serverKey, const std::wstring& serverValue,
                           const wchar_t* otherServerKey) {
    const std::wstring path = ModulePath();
    Microsoft::WRL::ComPtr<ITypeLib> library;
    ThrowIfFailed(::LoadTypeLibEx(path.c_str(), REGKIND_REGISTER, &library),
                  "The type library could not be registered");

    const std::wstring clsid = GuidText(cls.clsid);
    const std::wstring clsidKey = L"CLSID\\" + clsid;
    ThrowIfFailed(DeleteClassesTree(clsidKey + L"\\" + otherServerKey), "The class could not be registered");
    SetClassesValue(clsidKey, nullptr, cls.description);
    SetClassesValue(clsidKey + L"\\" + serverKey, nullptr, serverValue);
    SetClassesValue(clsidKey + L"\\ProgID", nullptr, cls.progId);
    SetClassesValue(clsidKey + L"\\VersionIndependentProgID", nullptr, cls.progId);
    SetClassesValue(clsidKey + L"\\TypeLib", nullptr, GuidText(cls.libid));
    SetClassesValue(clsidKey + L"\\Version", nullptr, L"1.0");
    SetClassesValue(clsidKey + L"\\Programmable", nullptr, L"");
    SetClassesValue(cls.progId, nullptr, cls.description);
    SetClassesValue(std::wstring(cls.progId) + L"\\CLSID", nullptr, clsid);
}

}  // namespace

HRESULT RegisterComClass(const ComClass& cls) noexcept {
    return ComBoundary(cls.iid, cls.progId, [&] {
        RegisterClassServedBy(cls, L"InprocServer32", ModulePath(), L"LocalServer32");
        SetClassesValue(L"CLSID\\" + GuidText(cls.clsid) + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    });
}

HRESULT RegisterComLocalServer(const ComClass& cls) noexcept {
    // COM adds " -Embedding" to the command line; the path is quoted for its spaces.
    return ComBoundary(cls.iid, cls.progId, [&] {
        RegisterClassServedBy(cls, L"LocalServer32", L"\"" + ModulePath() + L"\"", L"InprocServer32");
    });
}

HRESULT UnregisterComClass(const ComClass& cls) noexcept {
    return ComBoundary(cls.iid, cls.progId, [&] {
        // Remove as much as can be removed; report the first failure.
        HRESULT hr = DeleteClassesTree(cls.progId);
        const HRESULT classHr = DeleteClassesTree(L"CLSID\\" + GuidText(cls.clsid));
        if (SUCCEEDED(hr)) hr = classHr;
        // The library was registered for the architecture of this module.
        constexpr SYSKIND kSysKind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;
        const HRESULT libraryHr = ::UnRegisterTypeLib(cls.libid, 1, 0, LOCALE_NEUTRAL, kSysKind);
        const bool libraryGone = SUCCEEDED(libraryHr) || libraryHr == TYPE_E_REGISTRYACCESS ||
                                 libraryHr == TYPE_E_LIBNOTREGISTERED || libraryHr == TYPE_E_CANTLOADLIBRARY;
        if (SUCCEEDED(hr) && !libraryGone) hr = libraryHr;
        if (FAILED(hr)) throw ComError(hr, "The class could not be unregistered");
    });
}

}  // namespace mivo
