#pragma once
// An in-process COM server with one creatable class: what its four entry points do.
// Each server describes its class once and forwards DllGetClassObject, DllCanUnloadNow,
// DllRegisterServer and DllUnregisterServer here.
#include <windows.h>
#include <unknwn.h>

namespace mivo {

struct ComClass {
    const CLSID& clsid;
    const IID& iid;         // its default interface: failures report their error information on it
    const GUID& libid;      // its type library (version 1.0), embedded in the module
    const wchar_t* progId;  // also the source of its error information
    const wchar_t* description;
    // Creates an instance and asks it for `iid`; may throw.
    HRESULT (*create)(REFIID iid, void** object);
};

// A class object for `clsid`; it keeps the module loaded while it is held.
HRESULT GetComClassObject(const ComClass& cls, REFCLSID clsid, REFIID iid, void** object) noexcept;
// S_OK when no object, class object or lock keeps the module loaded, S_FALSE otherwise.
HRESULT CanUnloadComModule() noexcept;

// Writes the class (CLSID, InprocServer32 with the apartment model, ProgID, TypeLib) and
// registers the type library embedded in this module.
HRESULT RegisterComClass(const ComClass& cls) noexcept;
// Removes all of that; what is already gone counts as removed.
HRESULT UnregisterComClass(const ComClass& cls) noexcept;

}  // namespace mivo
