#pragma once
// The class object of a ComClass, for a DLL (holdsModule: it keeps the DLL loaded) or for a
// local server's registration with COM (it keeps nothing alive).
#include "mivo/ComServer.h"

namespace mivo {

HRESULT MakeClassFactory(const ComClass& cls, bool holdsModule, REFIID iid, void** object) noexcept;

}  // namespace mivo
