#include "ContentInstaller.h"

#include <olectl.h>

#include <new>
#include <string>

#include "ConnectionPointList.h"
#include "HttpFetch.h"
#include "InstallLog.h"
#include "Knobs.h"
#include "PackageStore.h"
#include "mivo/ComBoundary.h"
#include "mivo/ComModule.h"

namespace mivo::testbed {
namespace {

using Microsoft::WRL::ComPtr;

// Result codes of OnContentInstalled.
const LONG kInstalled = 0;
const LONG kDownloadFailed = 1;
const LONG kNotACabinet = 2;

ComPtr<ITypeInfo> TypeInfoOf(ITypeLib& lib, REFGUID guid) {
    ComPtr<ITypeInfo> info;
    ThrowIfFailed(lib.GetTypeInfoOfGuid(guid, &info), "GetTypeInfoOfGuid");
    return info;
}

// For a dual interface the type library answers with the dispatch half; ITypeInfo::Invoke
// calls through the vtable, which the interface half describes.
ComPtr<ITypeInfo> InterfaceHalf(ITypeInfo& info) {
    HREFTYPE ref = 0;
    ComPtr<ITypeInfo> half;
    if (SUCCEEDED(info.GetRefTypeOfImplType(-1, &ref)) && SUCCEEDED(info.GetRefTypeInfo(ref, &half))) return half;
    return ComPtr<ITypeInfo>(&info);
}

BOOL CALLBACK CloseIfMainWindow(HWND window, LPARAM) {
    if (::IsWindowVisible(window) && !::GetWindow(window, GW_OWNER)) ::PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

// What a user can do while an installer shows a dialog of its own: the calling thread's
// main windows are asked to close, and their messages run before the call goes on.
void CloseCallersWindows() {
    ::EnumThreadWindows(::GetCurrentThreadId(), &CloseIfMainWindow, 0);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));  // the caller's own loop ends on it
            return;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

}  // namespace

HRESULT ContentInstaller::Create(REFIID iid, void** object) {
    auto* raw = new (std::nothrow) ContentInstaller();
    if (!raw) return E_OUTOFMEMORY;
    // The first reference: an Initialize failure deletes the object. (Not ComPtr::Attach,
    // which adds a reference of its own in MinGW-w64's WRL.)
    const ComPtr<IMessengerContentInstaller> installer(raw);
    return ComBoundary(IID_IMessengerContentInstaller, ProgId, [&] {
        raw->Initialize();
        return raw->QueryInterface(iid, object);
    });
}

ContentInstaller::ContentInstaller() noexcept : events_(*this, DIID_DMessengerContentInstallerEvents) {
    LockModule();
}

ContentInstaller::~ContentInstaller() {
    for (Call* call = calls_; call; call = call->outer) call->released = true;
    UnlockModule();
}

void ContentInstaller::Initialize() {
    ThrowIfFailed(::LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, &typeLib_), "LoadTypeLibEx");
    dispatchInfo_ = TypeInfoOf(*typeLib_.Get(), IID_IMessengerContentInstaller);
    interfaceInfo_ = InterfaceHalf(*dispatchInfo_.Get());
    wchar_t eventName[] = L"OnContentInstalled";
    LPOLESTR names[] = {eventName};
    ThrowIfFailed(TypeInfoOf(*typeLib_.Get(), DIID_DMessengerContentInstallerEvents)
                      ->GetIDsOfNames(names, 1, &onContentInstalledId_),
                  "GetIDsOfNames(OnContentInstalled)");
    window_ = std::make_unique<EventWindow>(&ContentInstaller::OnResultPosted, this);
}

HRESULT STDMETHODCALLTYPE ContentInstaller::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (::IsEqualIID(iid, IID_IUnknown) || ::IsEqualIID(iid, IID_IDispatch) ||
        ::IsEqualIID(iid, IID_IMessengerContentInstaller)) {
        *object = static_cast<IMessengerContentInstaller*>(this);
    } else if (::IsEqualIID(iid, IID_IProvideClassInfo) && !ReadKnobs().hideClassInfo) {
        *object = static_cast<IProvideClassInfo*>(this);
    } else if (::IsEqualIID(iid, IID_IConnectionPointContainer)) {
        *object = static_cast<IConnectionPointContainer*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE ContentInstaller::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }

ULONG STDMETHODCALLTYPE ContentInstaller::Release() {
    const LONG refs = ::InterlockedDecrement(&refs_);
    if (refs == 0) delete this;
    return static_cast<ULONG>(refs);
}

HRESULT STDMETHODCALLTYPE ContentInstaller::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = ReadKnobs().hideTypeInfo ? 0 : 1;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ContentInstaller::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (ReadKnobs().hideTypeInfo) return E_NOTIMPL;
    if (index != 0) return DISP_E_BADINDEX;
    return dispatchInfo_.CopyTo(info);
}

HRESULT STDMETHODCALLTYPE ContentInstaller::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                                          DISPID* ids) {
    if (!::IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    return ::DispGetIDsOfNames(interfaceInfo_.Get(), names, count, ids);
}

HRESULT STDMETHODCALLTYPE ContentInstaller::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                                   VARIANT* result, EXCEPINFO* exception, UINT* argError) {
    if (!::IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    return interfaceInfo_->Invoke(static_cast<IMessengerContentInstaller*>(this), id, flags, params, result,
                                  exception, argError);
}

HRESULT STDMETHODCALLTYPE ContentInstaller::InstallContent(BSTR url) {
    return ComBoundary(IID_IMessengerContentInstaller, ProgId, [&] {
        const std::wstring target = url ? std::wstring(url, ::SysStringLen(url)) : std::wstring();
        const Knobs knobs = ReadKnobs();
        if (knobs.failInstall) {
            AppendInstallLog(L"E_FAIL", target);
            return E_FAIL;
        }
        if (knobs.closeWindows) {
            Call call{false, calls_};
            calls_ = &call;
            CloseCallersWindows();
            if (call.released) {
                // The client let go of the installer during its call: say so, touch nothing.
                AppendInstallLog(L"RELEASED", target);
                return RPC_E_DISCONNECTED;
            }
            calls_ = call.outer;
        }
        LONG outcome = kInstalled;
        const std::optional<std::string> package = FetchUrl(target);
        if (!package) {
            outcome = kDownloadFailed;
        } else if (!IsCabinet(*package)) {
            outcome = kNotACabinet;
        } else {
            try {
                StorePackage(target, *package);
            } catch (const ComError&) {
                AppendInstallLog(L"E_FAIL", target);  // still one line for the call
                throw;
            }
        }
        AppendInstallLog(std::to_wstring(outcome), target);
        window_->Post(knobs.eventResult.value_or(outcome));
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE ContentInstaller::GetClassInfo(ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    return typeLib_->GetTypeInfoOfGuid(CLSID_MessengerContentInstaller, info);
}

HRESULT STDMETHODCALLTYPE ContentInstaller::EnumConnectionPoints(IEnumConnectionPoints** points) {
    if (!points) return E_POINTER;
    *points = nullptr;
    if (ReadKnobs().hidePointList) return E_NOTIMPL;
    return ConnectionPointList::Create(&events_, 0, points);
}

HRESULT STDMETHODCALLTYPE ContentInstaller::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
    if (!point) return E_POINTER;
    *point = nullptr;
    if (!::IsEqualIID(iid, DIID_DMessengerContentInstallerEvents)) return CONNECT_E_NOCONNECTION;
    *point = &events_;
    events_.AddRef();
    return S_OK;
}

void ContentInstaller::OnResultPosted(void* self, LONG result) {
    static_cast<ContentInstaller*>(self)->FireOnContentInstalled(result);
}

// Runs from the event window's message: each connected sink hears of the result once.
void ContentInstaller::FireOnContentInstalled(LONG result) {
    // A sink may release the installer while it handles the event.
    const ComPtr<IMessengerContentInstaller> keepAlive(this);
    if (ReadKnobs().otherEvent) InvokeSinks(onContentInstalledId_ + 1, kInstalled);
    InvokeSinks(onContentInstalledId_, result);
}

void ContentInstaller::InvokeSinks(DISPID id, LONG argument) {
    try {
        for (const ConnectionPoint::Connection& connection : events_.Connections()) {
            if (!events_.IsConnected(connection.first)) continue;  // unadvised by an earlier sink
            VARIANT value;
            ::VariantInit(&value);
            value.vt = VT_I4;
            value.lVal = argument;
            DISPPARAMS params{&value, nullptr, 1, 0};
            // One sink's failure must not keep the event from the others.
            connection.second->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr,
                                      nullptr);
        }
    } catch (const std::bad_alloc&) {
        // No copy of the sink list, no event: nothing else can be done from a window message.
    }
}

}  // namespace mivo::testbed
