// The four entry points of the in-process server: the class under Messenger's class id,
// its ProgID and the embedded type library.
#include <windows.h>

#include "InstallerClass.h"
#include "mivo/ComServer.h"

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object) {
    return mivo::GetComClassObject(mivo::testbed::InstallerClass(), clsid, iid, object);
}

STDAPI DllCanUnloadNow() { return mivo::CanUnloadComModule(); }

STDAPI DllRegisterServer() { return mivo::RegisterComClass(mivo::testbed::InstallerClass()); }

STDAPI DllUnregisterServer() { return mivo::UnregisterComClass(mivo::testbed::InstallerClass()); }
