// The four entry points of the in-process server: the class under Messenger's class id,
// its ProgID and the embedded type library. Creation can be made to fail like a machine
// without MSN Messenger (the FailCreate knob).
#include <windows.h>

#include "ContentInstaller.h"
#include "Knobs.h"
#include "MessengerContentInstaller.h"
#include "mivo/ComServer.h"

namespace {

HRESULT CreateInstaller(REFIID iid, void** object) {
    if (mivo::testbed::ReadKnobs().failCreate) return REGDB_E_CLASSNOTREG;
    return mivo::testbed::ContentInstaller::Create(iid, object);
}

const mivo::ComClass kInstallerClass{CLSID_MessengerContentInstaller,
                                     IID_IMessengerContentInstaller,
                                     LIBID_MessengerContentInstallerLibrary,
                                     mivo::testbed::ContentInstaller::ProgId,
                                     L"Mivo testbed content installer",
                                     &CreateInstaller};

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object) {
    return mivo::GetComClassObject(kInstallerClass, clsid, iid, object);
}

STDAPI DllCanUnloadNow() { return mivo::CanUnloadComModule(); }

STDAPI DllRegisterServer() { return mivo::RegisterComClass(kInstallerClass); }

STDAPI DllUnregisterServer() { return mivo::UnregisterComClass(kInstallerClass); }
