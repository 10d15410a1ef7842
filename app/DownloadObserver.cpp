#include "DownloadObserver.h"

#include <wininet.h>

namespace xmlRequests {

using Microsoft::WRL::ComPtr;

bool DownloadObserver::Complete() const {
    const bool fullLength = announced_ == 0 || received_ == announced_;
    return stopped_ && SUCCEEDED(stopResult_) && !tooLarge_ && status_ >= 200 && status_ <= 299 && fullLength;
}

HRESULT DownloadObserver::OnStartBinding(DWORD, IBinding* binding) {
    binding_ = binding;
    return S_OK;
}

HRESULT DownloadObserver::GetPriority(LONG*) { return E_NOTIMPL; }
HRESULT DownloadObserver::OnLowResource(DWORD) { return S_OK; }

HRESULT DownloadObserver::OnProgress(ULONG progress, ULONG progressMax, ULONG statusCode, LPCWSTR) {
    if (statusCode != BINDSTATUS_BEGINDOWNLOADDATA && statusCode != BINDSTATUS_DOWNLOADINGDATA &&
        statusCode != BINDSTATUS_ENDDOWNLOADDATA) {
        return S_OK;
    }
    QueryStatusFromBinding();
    received_ = progress;
    announced_ = progressMax;
    if (progress > byteLimit_ || progressMax > byteLimit_) {
        tooLarge_ = true;
        return E_ABORT;
    }
    return S_OK;
}

HRESULT DownloadObserver::OnStopBinding(HRESULT result, LPCWSTR) {
    QueryStatusFromBinding();
    stopped_ = true;
    stopResult_ = result;
    binding_.Reset();
    return S_OK;
}

HRESULT DownloadObserver::GetBindInfo(DWORD*, BINDINFO*) { return E_NOTIMPL; }
HRESULT DownloadObserver::OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) { return S_OK; }
HRESULT DownloadObserver::OnObjectAvailable(REFIID, IUnknown*) { return S_OK; }

HRESULT DownloadObserver::BeginningTransaction(LPCWSTR, LPCWSTR, DWORD, LPWSTR* additionalHeaders) {
    if (additionalHeaders) *additionalHeaders = nullptr;
    return S_OK;
}

HRESULT DownloadObserver::OnResponse(DWORD responseCode, LPCWSTR, LPCWSTR, LPWSTR* additionalRequestHeaders) {
    if (additionalRequestHeaders) *additionalRequestHeaders = nullptr;
    status_ = responseCode;
    return S_OK;
}

void DownloadObserver::QueryStatusFromBinding() {
    if (status_ != 0 || !binding_) return;
    ComPtr<IWinInetHttpInfo> info;
    if (FAILED(binding_.As(&info))) return;
    DWORD code = 0;
    DWORD size = sizeof code;
    if (info->QueryInfo(HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code, &size, nullptr, nullptr) == S_OK)
        status_ = code;
}

}  // namespace xmlRequests
