#include "InstallerEventSource.h"

#include <olectl.h>

#include <cwchar>
#include <string>

#include "mivo/ComSupport.h"
#include "mivo/ContentInstaller.h"
#include "mivo/ScopedHandle.h"

namespace mivo {
namespace {

using Microsoft::WRL::ComPtr;

// The coclass's [default, source] interface; null when it names none.
ComPtr<ITypeInfo> DefaultSourceOf(ITypeInfo* classInfo) {
    TYPEATTR* attr = nullptr;
    if (FAILED(classInfo->GetTypeAttr(&attr))) return nullptr;
    const WORD count = attr->cImplTypes;
    classInfo->ReleaseTypeAttr(attr);
    for (UINT i = 0; i < count; ++i) {
        INT flags = 0;
        if (FAILED(classInfo->GetImplTypeFlags(i, &flags))) continue;
        if ((flags & IMPLTYPEFLAG_FDEFAULT) && (flags & IMPLTYPEFLAG_FSOURCE)) {
            HREFTYPE ref = 0;
            ComPtr<ITypeInfo> source;
            if (FAILED(classInfo->GetRefTypeOfImplType(i, &ref)) ||
                FAILED(classInfo->GetRefTypeInfo(ref, source.GetAddressOf())))
                return nullptr;
            return source;
        }
    }
    return nullptr;
}

// The class as the object describes itself; null when it does not.
ComPtr<ITypeInfo> ClassInfoOfObject(IUnknown* object) {
    ComPtr<IProvideClassInfo> provider;
    ComPtr<ITypeInfo> info;
    if (FAILED(object->QueryInterface(IID_IProvideClassInfo, reinterpret_cast<void**>(provider.GetAddressOf()))) ||
        FAILED(provider->GetClassInfo(info.GetAddressOf())))
        return nullptr;
    return info;
}

std::wstring ClassesValue(const std::wstring& key) {
    HKEY raw = nullptr;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS)
        return std::wstring();
    const UniqueRegKey opened(raw);
    wchar_t text[64];
    DWORD type = 0;
    DWORD size = sizeof text;
    if (::RegQueryValueExW(opened.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return std::wstring();
    // A stored string need not end in a null.
    return std::wstring(text, wcsnlen(text, size / sizeof(wchar_t)));
}

// Type library versions are registered as hexadecimal "major.minor".
bool ParseTypeLibVersion(const std::wstring& text, WORD& major, WORD& minor) {
    const wchar_t* start = text.c_str();
    wchar_t* end = nullptr;
    const unsigned long ma = std::wcstoul(start, &end, 16);
    if (end == start || *end != L'.') return false;
    start = end + 1;
    const unsigned long mi = std::wcstoul(start, &end, 16);
    if (end == start || *end != L'\0' || ma > 0xFFFF || mi > 0xFFFF) return false;
    major = static_cast<WORD>(ma);
    minor = static_cast<WORD>(mi);
    return true;
}

// The class as its registration describes it: the type library recorded for the class id.
ComPtr<ITypeInfo> RegisteredClassInfo(REFCLSID clsid) {
    wchar_t clsidText[40];
    if (!::StringFromGUID2(clsid, clsidText, 40)) return nullptr;
    const std::wstring key = std::wstring(L"CLSID\\") + clsidText;
    const std::wstring libText = ClassesValue(key + L"\\TypeLib");
    GUID libId{};
    WORD major = 0, minor = 0;
    if (libText.empty() || FAILED(::IIDFromString(libText.c_str(), &libId)) ||
        !ParseTypeLibVersion(ClassesValue(key + L"\\Version"), major, minor))
        return nullptr;
    ComPtr<ITypeLib> lib;
    ComPtr<ITypeInfo> info;
    if (FAILED(::LoadRegTypeLib(libId, major, minor, LOCALE_NEUTRAL, lib.GetAddressOf())) ||
        FAILED(lib->GetTypeInfoOfGuid(clsid, info.GetAddressOf())))
        return nullptr;
    return info;
}

// The interface of that id in the type library the object's IDispatch comes from.
ComPtr<ITypeInfo> InterfaceInfoFromObject(IUnknown* object, REFIID iid) {
    ComPtr<IDispatch> dispatch;
    ComPtr<ITypeInfo> own;
    ComPtr<ITypeLib> lib;
    UINT index = 0;
    ComPtr<ITypeInfo> info;
    if (FAILED(object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.GetAddressOf()))) ||
        FAILED(dispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, own.GetAddressOf())) || !own ||
        FAILED(own->GetContainingTypeLib(lib.GetAddressOf(), &index)) ||
        FAILED(lib->GetTypeInfoOfGuid(iid, info.GetAddressOf())))
        return nullptr;
    return info;
}

// The connection point the object lists, when it lists exactly one: among several, nothing
// would tell which is the default source.
ComPtr<IConnectionPoint> OnlyListedConnectionPoint(IConnectionPointContainer* container) {
    ComPtr<IEnumConnectionPoints> points;
    if (FAILED(container->EnumConnectionPoints(points.GetAddressOf())) || !points) return nullptr;
    ComPtr<IConnectionPoint> first, second;
    ULONG fetched = 0;
    if (points->Next(1, first.GetAddressOf(), &fetched) != S_OK || fetched != 1 || !first) return nullptr;
    if (points->Next(1, second.GetAddressOf(), &fetched) == S_OK && fetched == 1) return nullptr;
    return first;
}

IID GuidOf(ITypeInfo* info) {
    TYPEATTR* attr = nullptr;
    ThrowIfFailed(info->GetTypeAttr(&attr), "source interface attributes");
    const IID iid = attr->guid;
    info->ReleaseTypeAttr(attr);
    return iid;
}

}  // namespace

InstallerEventSource FindInstallerEventSource(IUnknown* installer) {
    ComPtr<IConnectionPointContainer> container;
    ThrowIfFailed(installer->QueryInterface(IID_IConnectionPointContainer,
                                            reinterpret_cast<void**>(container.GetAddressOf())),
                  "the installer raises no events");
    InstallerEventSource found;
    ComPtr<ITypeInfo> classInfo = ClassInfoOfObject(installer);
    if (!classInfo) classInfo = RegisteredClassInfo(CLSID_MessengerContentInstaller);
    if (classInfo) found.events = DefaultSourceOf(classInfo.Get());
    if (found.events) {
        found.iid = GuidOf(found.events.Get());
        if (SUCCEEDED(container->FindConnectionPoint(found.iid, found.point.GetAddressOf()))) return found;
    }
    found.point = OnlyListedConnectionPoint(container.Get());
    if (!found.point) throw ComError(CONNECT_E_NOCONNECTION, "the installer offers no connection point for its events");
    ThrowIfFailed(found.point->GetConnectionInterface(&found.iid), "the installer's event interface");
    found.events = InterfaceInfoFromObject(installer, found.iid);
    return found;
}

}  // namespace mivo
