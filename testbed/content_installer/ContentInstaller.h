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
#include "mivo/ComObject.h"

namespace mivo::testbed {

class ContentInstaller final
    : public ComObject<Answers<TypeLibDispatch<IMessengerContentInstaller>, IID_IUnknown, IID_IDispatch,
                               IID_IMessengerContentInstaller>,
                       Answers<IProvideClassInfo, IID_IProvideClassInfo>,
                       Answers<IConnectionPointContainer, IID_IConnectionPointContainer>> {
public:
    static constexpr const wchar_t* ProgId = L"MivoTestbed.ContentInstaller";

    // Creates an installer on the calling thread and hands out the asked interface.
    static HRESULT Create(REFIID iid, void** object);

    // Made by Create, which initialises it.
    ContentInstaller() noexcept;

    // The knobs HideClassInfo and HideTypeInfo take these interfaces away.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;

    // IMessengerContentInstaller
    HRESULT STDMETHODCALLTYPE InstallContent(BSTR url) override;

    // IProvideClassInfo
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override;

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

private:
    ~ContentInstaller() override;
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

    Microsoft::WRL::ComPtr<ITypeLib> typeLib_;
    DISPID onContentInstalledId_ = DISPID_UNKNOWN;
    ConnectionPoint events_;
    std::unique_ptr<EventWindow> window_;
};

}  // namespace mivo::testbed
