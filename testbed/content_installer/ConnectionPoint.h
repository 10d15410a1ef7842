#pragma once
// The one connection point of the installer: the event sinks connected to its source
// dispinterface. It lives inside its container and shares the container's life.
#include <windows.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <utility>
#include <vector>

#include "mivo/ComObject.h"

namespace mivo::testbed {

class ConnectionPoint final : public Implements<Answers<IConnectionPoint, IID_IUnknown, IID_IConnectionPoint>> {
public:
    ConnectionPoint(IConnectionPointContainer& container, REFIID eventsIid) noexcept;

    using Connection = std::pair<DWORD, Microsoft::WRL::ComPtr<IDispatch>>;
    // A copy of the connections, so sinks may connect and disconnect while events go out.
    std::vector<Connection> Connections() const { return sinks_; }
    bool IsConnected(DWORD cookie) const noexcept;

    // A reference to the connection point keeps its container alive.
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

private:
    IConnectionPointContainer& container_;
    IID eventsIid_;
    std::vector<Connection> sinks_;
    DWORD nextCookie_ = 1;
};

}  // namespace mivo::testbed
