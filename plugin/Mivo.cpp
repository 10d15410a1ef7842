#include "Mivo.h"

#include <new>
#include <string>

#include "MivoLaunch.h"
#include "NewestContent.h"
#include "frmAbout.h"
#include "mivo/ComBoundary.h"
#include "mivo/ComObject.h"
#include "mivo/Text.h"

using Microsoft::WRL::ComPtr;

namespace mivo::plugin {
namespace {

struct CommandEntry {
    const wchar_t* name;
    const wchar_t* value;
};

// Published by 1-based index; the value is the command word without its slash.
const CommandEntry kCommands[] = {
    {L"Download and install the newest emoticons", L"xnewemoticons"},
    {L"Download and install the newest display pictures", L"xnewdps"},
    {L"Open Mivo", L"xopenmivo"},
};

// Whole-string, case-insensitive, and nothing is ignored or trimmed.
bool IsCommand(BSTR typed, const wchar_t* command) {
    return EqualsIgnoreCase(std::wstring_view(typed ? typed : L"", ::SysStringLen(typed)), command);
}

// Replaces a by-reference string; the old one is kept when allocation fails.
void AssignBstr(BSTR* target, const wchar_t* text) {
    BSTR fresh = ::SysAllocString(text);
    if (!fresh) throw std::bad_alloc();
    ::SysFreeString(*target);
    *target = fresh;
}

DualTypeInfo LoadTypeInfo() {
    ComPtr<ITypeLib> library;
    // The type library is embedded in the DLL; code linked elsewhere finds the registered one.
    HRESULT hr = ::LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, &library);
    if (FAILED(hr)) hr = ::LoadRegTypeLib(LIBID_MivoPluginMsgPlus, 1, 0, LOCALE_NEUTRAL, &library);
    ThrowIfFailed(hr, "The type library MivoPluginMsgPlus could not be loaded");
    ComPtr<ITypeInfo> found;
    ThrowIfFailed(library->GetTypeInfoOfGuid(IID_IMivo, &found), "The type library lacks the Mivo interface");
    HREFTYPE otherView = 0;
    ComPtr<ITypeInfo> other;
    ThrowIfFailed(found->GetRefTypeOfImplType(static_cast<UINT>(-1), &otherView), "The Mivo interface is not dual");
    ThrowIfFailed(found->GetRefTypeInfo(otherView, &other), "The Mivo interface is not dual");
    TYPEATTR* attr = nullptr;
    ThrowIfFailed(found->GetTypeAttr(&attr), "GetTypeAttr");
    const bool foundDispatchView = attr->typekind == TKIND_DISPATCH;
    found->ReleaseTypeAttr(attr);
    return foundDispatchView ? DualTypeInfo{found, other} : DualTypeInfo{other, found};
}

void ClearVariant(VARIANT* result) { ::VariantInit(result); }

}  // namespace

HRESULT Mivo::Create(REFIID riid, void** object) noexcept {
    if (!object) return E_POINTER;
    *object = nullptr;
    ComPtr<Mivo> mivo;
    const HRESULT hr = ComBoundary(IID_IMivo, ProgId, [&] { mivo = Make<Mivo>(LoadTypeInfo()); });
    if (FAILED(hr)) return hr;
    return mivo.CopyTo(riid, object);
}

Mivo::Mivo(DualTypeInfo typeInfo) noexcept { UseTypeInfo(std::move(typeInfo)); }

HRESULT Mivo::InterfaceSupportsErrorInfo(REFIID riid) { return riid == IID_IMivo ? S_OK : S_FALSE; }

HRESULT Mivo::Initialize(long, BSTR, IDispatch*, VARIANT_BOOL* result) {
    if (!result) return E_POINTER;
    *result = VARIANT_TRUE;
    return S_OK;
}

HRESULT Mivo::Uninitialize(VARIANT* result) {
    if (!result) return E_POINTER;
    ClearVariant(result);
    return S_OK;
}

HRESULT Mivo::Configure(VARIANT* result) {
    if (!result) return E_POINTER;
    ClearVariant(result);
    return ComBoundary(IID_IMivo, ProgId, [] {
        // The window lives on by itself; we keep no reference to it.
        ::ShowWindow(frmAbout::Load(), SW_SHOWNORMAL);
    });
}

HRESULT Mivo::GetPublishInfo(BSTR* sPluginName, long* nCommandCount, long* nTagCount, VARIANT_BOOL* result) {
    if (!sPluginName || !nCommandCount || !nTagCount || !result) return E_POINTER;
    return ComBoundary(IID_IMivo, ProgId, [&] {
        AssignBstr(sPluginName, L"Mivo Plugin");
        *nCommandCount = static_cast<long>(sizeof(kCommands) / sizeof(kCommands[0]));
        *nTagCount = 0;
        *result = VARIANT_TRUE;
    });
}

HRESULT Mivo::GetPublishCommandInfo(long nCommandIdx, BSTR* sName, BSTR* sValue, BSTR*, VARIANT* result) {
    if (!sName || !sValue || !result) return E_POINTER;
    ClearVariant(result);
    if (nCommandIdx < 1 || nCommandIdx > 3) return S_OK;
    return ComBoundary(IID_IMivo, ProgId, [&] {
        const CommandEntry& command = kCommands[nCommandIdx - 1];
        AssignBstr(sName, command.name);
        AssignBstr(sValue, command.value);
    });
}

HRESULT Mivo::GetPublishTagInfo(long, BSTR*, BSTR*, VARIANT* result) {
    if (!result) return E_POINTER;
    ClearVariant(result);
    return S_OK;
}

HRESULT Mivo::ParseCommand(BSTR sCommand, BSTR, IDispatch*, BSTR* sResult, VARIANT_BOOL* result) {
    if (!sResult || !result) return E_POINTER;
    return ComBoundary(IID_IMivo, ProgId, [&] {
        if (IsCommand(sCommand, L"/xnewemoticons")) {
            installLatestEmo();
        } else if (IsCommand(sCommand, L"/xnewdps")) {
            installLatestDisp();
        } else if (IsCommand(sCommand, L"/xopenmivo")) {
            openMivo();
        } else {
            *result = VARIANT_FALSE;
            return;
        }
        AssignBstr(sResult, L"");
        *result = VARIANT_TRUE;
    });
}

HRESULT Mivo::ParseTag(BSTR, IDispatch*, BSTR*, VARIANT_BOOL* result) {
    if (!result) return E_POINTER;
    *result = VARIANT_FALSE;
    return S_OK;
}

HRESULT Mivo::ReceiveNotify(BSTR, BSTR, BSTR, IDispatch*, BSTR*, VARIANT_BOOL* result) {
    if (!result) return E_POINTER;
    *result = VARIANT_FALSE;
    return S_OK;
}

}  // namespace mivo::plugin
