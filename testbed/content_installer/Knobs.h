#pragma once
// Test knobs under HKEY_CURRENT_USER\Software\MivoTestbed\ContentInstaller, read at the
// moment of each call so a test can change them between calls.
#include <windows.h>

#include <optional>

namespace mivo::testbed {

struct Knobs {
    bool failInstall = false;          // FailInstall: InstallContent fails with E_FAIL
    bool failCreate = false;           // FailCreate: creation fails as if not registered
    std::optional<LONG> eventResult;   // EventResult: the result code the event carries
    bool hideClassInfo = false;        // HideClassInfo: no IProvideClassInfo
    bool hideTypeInfo = false;         // HideTypeInfo: IDispatch gives no type information
    bool hidePointList = false;        // HideConnectionPointList: EnumConnectionPoints not implemented
    bool otherEvent = false;           // OtherEvent: an event call the events interface does not name
    bool closeWindows = false;         // CloseWindowsInInstall: the caller's windows close during the call
    DWORD slowInstallMs = 0;           // SlowInstall: the install call waits this long before it fetches
    bool endInInstall = false;         // EndInInstall: the server program ends inside the install call
};

Knobs ReadKnobs();

}  // namespace mivo::testbed
