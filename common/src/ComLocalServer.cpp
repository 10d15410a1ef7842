#include <objbase.h>
#include <wrl/client.h>

#include "ComClassFactory.h"
#include "mivo/ComModule.h"
#include "mivo/ComServer.h"

namespace mivo {
namespace {

DWORD registration = 0;  // the class object's cookie while it is registered with COM
DWORD serverThread = 0;

// When the last reference goes, COM takes no more creations here and the loop ends.
void CountAsServerProcess(bool locked) noexcept {
    if (locked) {
        ::CoAddRefServerProcess();
    } else if (::CoReleaseServerProcess() == 0) {
        ::PostThreadMessageW(serverThread, WM_QUIT, 0, 0);
    }
}

}  // namespace

int ServeComClass(const ComClass& cls) noexcept {
    serverThread = ::GetCurrentThreadId();
    CountLocksWith(&CountAsServerProcess);
    Microsoft::WRL::ComPtr<IClassFactory> factory;
    if (FAILED(MakeClassFactory(cls, false, IID_IClassFactory, reinterpret_cast<void**>(factory.GetAddressOf()))))
        return 1;
    // One process serves every creation until its last object has gone; the next creation
    // after that starts a new one.
    if (FAILED(::CoRegisterClassObject(cls.clsid, factory.Get(), CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                                       &registration)))
        return 1;
    // Ends when the last object goes, or when the program is asked to quit with objects
    // still in use: their clients' proxies then find the process gone.
    MSG msg{};
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    ::CoRevokeClassObject(registration);
    registration = 0;
    return 0;
}

void EndComServerProcess(UINT exitCode) noexcept {
    // COM must not hand the class object of a process that has gone to the next creation.
    if (registration) ::CoRevokeClassObject(registration);
    ::ExitProcess(exitCode);
}

}  // namespace mivo
