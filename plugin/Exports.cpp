// The four entry points of a self-registering in-process COM server.
#include <windows.h>

#include "Mivo.h"
#include "MivoPluginMsgPlus.h"
#include "frmAbout.h"
#include "mivo/ComServer.h"

namespace {
using mivo::plugin::Mivo;

const mivo::ComClass kMivoClass{CLSID_Mivo, IID_IMivo, LIBID_MivoPluginMsgPlus, Mivo::ProgId, Mivo::ProgId,
                                &Mivo::Create};
}  // namespace

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
    return mivo::GetComClassObject(kMivoClass, rclsid, riid, ppv);
}

STDAPI DllCanUnloadNow() {
    const HRESULT hr = mivo::CanUnloadComModule();
    if (hr == S_OK) mivo::plugin::frmAbout::UnregisterWindowClass();
    return hr;
}

STDAPI DllRegisterServer() { return mivo::RegisterComClass(kMivoClass); }

STDAPI DllUnregisterServer() { return mivo::UnregisterComClass(kMivoClass); }
