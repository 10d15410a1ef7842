#include "ContentInstaller.h"

#include <olectl.h>

#include <new>
#include <string>

#include "ConnectionPointList.h"
#include "HttpFetch.h"
#include "mivo/MessagePump.h"
#include "InstallLog.h"
#include "Knobs.h"
#include "PackageStore.h"
#include "mivo/ComBoundary.h"
#include "mivo/ComModule.h"
#include "mivo/ComServer.h"

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
    mivo::DispatchPendingMessages();
}

}  // namespace

HRESULT ContentInstaller::Create(REFIID iid, void** object) {
    return ComBoundary(IID_IMessengerContentInstaller, ProgId, [&] {
        const ComPtr<ContentInstaller> installer = Make<ContentInstaller>();
        installer->Initialize();  // a failure here lets the new object go
        return installer.CopyTo(iid, object);
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
    const ComPtr<ITypeInfo> dispatchInfo = TypeInfoOf(*typeLib_.Get(), IID_IMessengerContentInstaller);
    UseTypeInfo({dispatchInfo, InterfaceHalf(*dispatchInfo.Get())});
    wchar_t eventName[] = L"OnContentInstalled";
    LPOLESTR names[] = {eventName};
    ThrowIfFailed(TypeInfoOf(*typeLib_.Get(), DIID_DMessengerContentInstallerEvents)
                      ->GetIDsOfNames(names, 1, &onContentInstalledId_),
                  "GetIDsOfNames(OnContentInstalled)");
    window_ = std::make_unique<EventWindow>(&ContentInstaller::OnResultPosted, this);
}

HRESULT STDMETHODCALLTYPE ContentInstaller::QueryInterface(REFIID iid, void** object) {
    // HideClassInfo: IProvideClassInfo is answered like an interface the object lacks.
    const bool hidden = ::IsEqualIID(iid, IID_IProvideClassInfo) && ReadKnobs().hideClassInfo;
    return ComObject::QueryInterface(hidden ? IID_NULL : iid, object);
}

HRESULT STDMETHODCALLTYPE ContentInstaller::GetTypeInfoCount(UINT* count) {
    if (count && ReadKnobs().hideTypeInfo) {
        *count = 0;
        return S_OK;
    }
    return TypeLibDispatch::GetTypeInfoCount(count);
}

HRESULT STDMETHODCALLTYPE ContentInstaller::GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) {
    if (info && ReadKnobs().hideTypeInfo) {
        *info = nullptr;
        return E_NOTIMPL;
    }
    return TypeLibDispatch::GetTypeInfo(index, lcid, info);
}

HRESULT STDMETHODCALLTYPE ContentInstaller::InstallContent(BSTR url) {
    return ComBoundary(IID_IMessengerContentInstaller, ProgId, [&] {
        const std::wstring target = url ? std::wstring(url, ::SysStringLen(url)) : std::wstring();
        const Knobs knobs = ReadKnobs();
        if (knobs.failInstall) {
            AppendInstallLog(L"E_FAIL", target);
            return E_FAIL;
        }
        // A busy Messenger: the caller waits, and out of process its window runs meanwhile.
        if (knobs.slowInstallMs) ::Sleep(knobs.slowInstallMs);
        if (knobs.endInInstall && ServesOtherProcesses()) {
            // Messenger quits during an install. In a DLL the process is the client's: no.
            AppendInstallLog(L"ENDED", target);
            EndComServerProcess(1);
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
