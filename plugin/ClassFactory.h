#pragma once
// The class object of `Mivo`, handed out by DllGetClassObject.
#include <windows.h>
#include <unknwn.h>

namespace mivo::plugin {

// Asks the one class object of the library for `riid`.
HRESULT GetMivoClassObject(REFIID riid, void** object) noexcept;

}  // namespace mivo::plugin
