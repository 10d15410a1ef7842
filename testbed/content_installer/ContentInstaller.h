#pragma once
// The content installer object: the dual interface with InstallContent, its type
// information for late-bound callers, and the OnContentInstalled event.
#include <windows.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <memory>

#include "ConnectionPoint.h"
#include "EventWindow.h"
#include "MessengerContentInstaller.h"

namespace mivo::testbed {

class ContentInstaller final : public IMessengerContentInstaller,
                               public IProvideClassInfo,
                               public IConnectionPointContainer {
public:
    static constexpr const wchar_t* ProgId = L"MivoTestbed.ContentInstaller";

    // Creates an installer on the calling thread and hands out the asked interface.
    static HRESULT Create(REFIID iid, void** object);

    ContentInstaller(const ContentInstaller&) = delete;
    ContentInstaller& operator=(const ContentInstaller&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

    // IMessengerContentInstaller
    HRESULT STDMETHODCALLTYPE InstallContent(BSTR url) override;

    // IProvideClassInfo
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override;

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

private:
    ContentInstaller() noexcept;
    ~ContentInstaller();
    void Initialize();  // type information and the event window; throws ComError

    static void OnResultPosted(void* self, LONG result);
    void FireOnContentInstalled(LONG result);
    void InvokeSinks(DISPID id, LONG argument);

    // An InstallContent call in progress. The destructor marks every one, so a call whose
    // installer was released under it can end without touching the object.
    struct Call {
        bool released = false;
        Call* outer = nullptr;
    };
    Call* calls_ = nullptr;

    LONG refs_ = 0;  // Create's ComPtr takes the first reference
    Microsoft::WRL::ComPtr<ITypeLib> typeLib_;
    Microsoft::WRL::ComPtr<ITypeInfo> dispatchInfo_;   // what GetTypeInfo hands out
    Microsoft::WRL::ComPtr<ITypeInfo> interfaceInfo_;  // the vtable half, which Invoke calls through
    DISPID onContentInstalledId_ = DISPID_UNKNOWN;
    ConnectionPoint events_;
    std::unique_ptr<EventWindow> window_;
};

}  // namespace mivo::testbed
