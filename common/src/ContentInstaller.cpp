#include "mivo/ContentInstaller.h"

#include "InstallerEventSource.h"
#include "mivo/ComObject.h"
#include "mivo/ComSupport.h"
#include "mivo/Text.h"

namespace mivo {

using Microsoft::WRL::ComPtr;

// {F06608C7-1874-4EEA-B3B2-DF99EBB144B8}
const CLSID CLSID_MessengerContentInstaller = {
    0xf06608c7, 0x1874, 0x4eea, {0xb3, 0xb2, 0xdf, 0x99, 0xeb, 0xb1, 0x44, 0xb8}};
// {83B2A407-22B9-4842-97C6-DE30EC6DAC3E}
const IID IID_IMessengerContentInstaller = {
    0x83b2a407, 0x22b9, 0x4842, {0x97, 0xc6, 0xde, 0x30, 0xec, 0x6d, 0xac, 0x3e}};

ComPtr<IMessengerContentInstaller> CreateContentInstaller() {
    ComPtr<IMessengerContentInstaller> installer;
    ThrowIfFailed(::CoCreateInstance(CLSID_MessengerContentInstaller, nullptr, CLSCTX_SERVER,
                                     IID_IMessengerContentInstaller,
                                     reinterpret_cast<void**>(installer.GetAddressOf())),
                  "The content installer of MSN Messenger could not be created");
    return installer;
}

void Install(IMessengerContentInstaller* installer, const std::wstring& packageUrl) {
    // The installer may run a dialog of its own and let the caller's window close, which
    // releases the caller's reference: this one keeps it alive until the call is over.
    const ComPtr<IMessengerContentInstaller> keepAlive(installer);
    Bstr url(packageUrl);
    ThrowIfFailed(keepAlive->InstallContent(url.get()), "The content installer refused the package");
}

namespace {

// Receives the installer's events and answers OnContentInstalled: by name when type
// information names the events, otherwise as the one event that carries a single result.
class EventSink final : public ComObject<Answers<IDispatch, IID_IUnknown, IID_IDispatch>> {
public:
    EventSink(ComPtr<ITypeInfo> source, const IID& sourceIid, std::function<void(long)> onContentInstalled)
        : source_(std::move(source)), sourceIid_(sourceIid), onContentInstalled_(std::move(onContentInstalled)) {}

    // The source interface is only known at run time: it is answered as IDispatch.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        return ComObject::QueryInterface(riid == sourceIid_ ? IID_IDispatch : riid, out);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        if (!params || params->cArgs < 1) return S_OK;
        if (source_) {
            Bstr name;
            UINT found = 0;
            if (FAILED(source_->GetNames(id, name.out(), 1, &found)) || found == 0) return S_OK;
            if (!EqualsIgnoreCase(name.str(), L"OnContentInstalled")) return S_OK;
        } else if (params->cArgs != 1 || params->cNamedArgs != 0) {
            return S_OK;
        }
        Variant result;
        if (FAILED(::VariantChangeType(result.get(), &params->rgvarg[params->cArgs - 1], 0, VT_I4))) return S_OK;
        if (onContentInstalled_) onContentInstalled_(result.get()->lVal);
        return S_OK;
    }

    void Detach() { onContentInstalled_ = nullptr; }

private:
    ~EventSink() override = default;
    ComPtr<ITypeInfo> source_;
    IID sourceIid_;
    std::function<void(long)> onContentInstalled_;
};

}  // namespace

void ContentInstallerEvents::Connect(IUnknown* installer, std::function<void(long)> onContentInstalled) {
    Disconnect();
    InstallerEventSource source = FindInstallerEventSource(installer);
    const ComPtr<IUnknown> sink = Make<EventSink>(source.events, source.iid, std::move(onContentInstalled));
    DWORD cookie = 0;
    ThrowIfFailed(source.point->Advise(sink.Get(), &cookie), "the installer refused the event connection");
    point_ = source.point;
    sink_ = sink;
    cookie_ = cookie;
}

void ContentInstallerEvents::Disconnect() {
    if (point_ && cookie_) point_->Unadvise(cookie_);
    if (sink_) {
        ComPtr<IDispatch> dispatch;
        sink_.As(&dispatch);
        static_cast<EventSink*>(dispatch.Get())->Detach();
    }
    point_.Reset();
    sink_.Reset();
    cookie_ = 0;
}

}  // namespace mivo
