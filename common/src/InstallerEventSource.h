#pragma once
// Where the content installer's completion event comes from: the connection point of its
// default source interface, and the type information naming that interface's events when
// the installer gives any. Installers differ in how much they describe of themselves.
#include <windows.h>
#include <ocidl.h>
#include <wrl/client.h>

namespace mivo {

struct InstallerEventSource {
    Microsoft::WRL::ComPtr<IConnectionPoint> point;
    IID iid{};
    Microsoft::WRL::ComPtr<ITypeInfo> events;  // null: nothing names the installer's events
};

// Looks through the class information the installer provides, then the type library
// registered for its class, then the one connection point it lists. Throws ComError when
// none of them leads to a connection point.
InstallerEventSource FindInstallerEventSource(IUnknown* installer);

}  // namespace mivo
