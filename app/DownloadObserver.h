#pragma once
// Watches one URL download as it happens: the HTTP status, the bytes received against the
// announced length, and how the binding ended. urlmon can report success for an error page
// or a body cut off before its end, so the caller judges the download by these instead.
#include <windows.h>
#include <urlmon.h>
#include <wrl/client.h>

#include "mivo/ComObject.h"

namespace xmlRequests {

class DownloadObserver final
    : public mivo::ComObject<mivo::Answers<IBindStatusCallback, IID_IUnknown, IID_IBindStatusCallback>,
                             mivo::Answers<IHttpNegotiate, IID_IHttpNegotiate>> {
public:
    // Made with mivo::Make. A download growing beyond byteLimit is aborted and never counts.
    explicit DownloadObserver(ULONG byteLimit) : byteLimit_(byteLimit) {}

    // True once the binding ended well with a 2xx status and every announced byte arrived.
    bool Complete() const;

    // IBindStatusCallback
    HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD reserved, IBinding* binding) override;
    HRESULT STDMETHODCALLTYPE GetPriority(LONG* priority) override;
    HRESULT STDMETHODCALLTYPE OnLowResource(DWORD reserved) override;
    HRESULT STDMETHODCALLTYPE OnProgress(ULONG progress, ULONG progressMax, ULONG statusCode,
                                         LPCWSTR statusText) override;
    HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT result, LPCWSTR error) override;
    HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD* bindf, BINDINFO* bindInfo) override;
    HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD bscf, DWORD size, FORMATETC* format,
                                              STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID riid, IUnknown* object) override;

    // IHttpNegotiate
    HRESULT STDMETHODCALLTYPE BeginningTransaction(LPCWSTR url, LPCWSTR headers, DWORD reserved,
                                                   LPWSTR* additionalHeaders) override;
    HRESULT STDMETHODCALLTYPE OnResponse(DWORD responseCode, LPCWSTR responseHeaders, LPCWSTR requestHeaders,
                                         LPWSTR* additionalRequestHeaders) override;

private:
    ~DownloadObserver() override = default;
    // Reads the status from the binding, for a platform that does not call OnResponse.
    void QueryStatusFromBinding();

    const ULONG byteLimit_;
    Microsoft::WRL::ComPtr<IBinding> binding_;
    DWORD status_ = 0;  // 0 until known
    ULONG received_ = 0;
    ULONG announced_ = 0;  // 0 when the answer announced no length
    bool tooLarge_ = false;
    bool stopped_ = false;
    HRESULT stopResult_ = E_FAIL;
};

}  // namespace xmlRequests
