// Entry points of the DLL: loading, the class object and the unload test.
#include "Module.h"

#include <new>

#include "ClassFactory.h"
#include "ComGuard.h"
#include "MessengerContentInstaller.h"

namespace mivo::testbed {
namespace {

HMODULE g_module = nullptr;
LONG g_locks = 0;  // live objects, class factories and LockServer(TRUE) calls

}  // namespace

HMODULE ThisModule() noexcept { return g_module; }

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(g_module, &path[0], static_cast<DWORD>(path.size()));
        if (n == 0) throw ComError(LastErrorHr(), "GetModuleFileNameW");
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);  // truncated: the path is longer than the buffer
    }
}

std::wstring ModuleFolder() {
    const std::wstring path = ModulePath();
    return path.substr(0, path.find_last_of(L'\\'));
}

void LockModule() noexcept { ::InterlockedIncrement(&g_locks); }
void UnlockModule() noexcept { ::InterlockedDecrement(&g_locks); }

}  // namespace mivo::testbed

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        mivo::testbed::g_module = instance;
        ::DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!::IsEqualCLSID(clsid, CLSID_MessengerContentInstaller)) return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new (std::nothrow) mivo::testbed::ClassFactory();
    if (!factory) return E_OUTOFMEMORY;
    const HRESULT hr = factory->QueryInterface(iid, object);
    factory->Release();
    return hr;
}

STDAPI DllCanUnloadNow() {
    return ::InterlockedCompareExchange(&mivo::testbed::g_locks, 0, 0) == 0 ? S_OK : S_FALSE;
}
