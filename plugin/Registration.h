#pragma once
// Self-registration: the class `Mivo`, its ProgID and the type library.
#include <windows.h>

namespace mivo::plugin {

HRESULT RegisterServer() noexcept;
HRESULT UnregisterServer() noexcept;

}  // namespace mivo::plugin
