// The four entry points of a self-registering in-process COM server.
#include <windows.h>
#include <olectl.h>

#include "ClassFactory.h"
#include "Module.h"
#include "MivoPluginMsgPlus.h"
#include "Registration.h"
#include "frmAbout.h"

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (rclsid != CLSID_Mivo) return CLASS_E_CLASSNOTAVAILABLE;
    return mivo::plugin::GetMivoClassObject(riid, ppv);
}

STDAPI DllCanUnloadNow() {
    if (mivo::plugin::ModuleLockCount() != 0) return S_FALSE;
    mivo::plugin::frmAbout::UnregisterWindowClass();
    return S_OK;
}

STDAPI DllRegisterServer() { return mivo::plugin::RegisterServer(); }

STDAPI DllUnregisterServer() { return mivo::plugin::UnregisterServer(); }
