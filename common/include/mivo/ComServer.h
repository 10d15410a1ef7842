#pragma once
// A COM server with one creatable class, in a DLL or in a program of its own: what a DLL's
// four entry points do (each DLL describes its class once and forwards DllGetClassObject,
// DllCanUnloadNow, DllRegisterServer and DllUnregisterServer here), and what a local server
// program does when COM starts it.
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
// Writes the class served by this program (LocalServer32 in place of InprocServer32) and
// registers the type library embedded in it, which is what marshals its calls and events.
HRESULT RegisterComLocalServer(const ComClass& cls) noexcept;
// Removes all of that; what is already gone counts as removed. For either kind of server.
HRESULT UnregisterComClass(const ComClass& cls) noexcept;

// The program's part when COM starts it (-Embedding): registers the class object, runs the
// thread's messages and returns once the last object and server lock are gone. The calling
// thread is to be in a single-threaded apartment. Returns the program's exit code.
int ServeComClass(const ComClass& cls) noexcept;
// Ends the serving program at once, from inside its work, as a user quitting it does: its
// class object is withdrawn first, so that COM starts a new process for the next creation.
[[noreturn]] void EndComServerProcess(UINT exitCode) noexcept;

}  // namespace mivo
