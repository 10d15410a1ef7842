#include "ConnectionPoint.h"

#include <olectl.h>

#include "ContentInstaller.h"
#include "mivo/ComBoundary.h"

namespace mivo::testbed {

ConnectionPoint::ConnectionPoint(IConnectionPointContainer& container, REFIID eventsIid) noexcept
    : container_(container), eventsIid_(eventsIid) {}

bool ConnectionPoint::IsConnected(DWORD cookie) const noexcept {
    for (const Connection& c : sinks_)
        if (c.first == cookie) return true;
    return false;
}

ULONG STDMETHODCALLTYPE ConnectionPoint::AddRef() { return container_.AddRef(); }
ULONG STDMETHODCALLTYPE ConnectionPoint::Release() { return container_.Release(); }

HRESULT STDMETHODCALLTYPE ConnectionPoint::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = eventsIid_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
    if (!container) return E_POINTER;
    *container = &container_;
    container_.AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (!cookie) return E_POINTER;
    *cookie = 0;
    if (!sink) return E_POINTER;
    Microsoft::WRL::ComPtr<IDispatch> events;
    // Sinks written for the events interface answer its id; plain IDispatch sinks also do.
    if (FAILED(sink->QueryInterface(eventsIid_, reinterpret_cast<void**>(events.GetAddressOf()))) &&
        FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(events.GetAddressOf()))))
        return CONNECT_E_CANNOTCONNECT;
    return ComBoundary(IID_IConnectionPoint, ContentInstaller::ProgId, [&] {
        sinks_.emplace_back(nextCookie_, std::move(events));
        *cookie = nextCookie_++;
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE ConnectionPoint::Unadvise(DWORD cookie) {
    for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
        if (it->first == cookie) {
            // Let go of the sink only once the list is consistent: its release may call back.
            const Microsoft::WRL::ComPtr<IDispatch> sink = std::move(it->second);
            sinks_.erase(it);
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

HRESULT STDMETHODCALLTYPE ConnectionPoint::EnumConnections(IEnumConnections** connections) {
    if (connections) *connections = nullptr;
    return E_NOTIMPL;
}

}  // namespace mivo::testbed
