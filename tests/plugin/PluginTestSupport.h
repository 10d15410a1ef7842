#pragma once
// Creating the plug-in (calls by name go through mivo::Call, as the host's do), the
// install-folder registry value, and child processes.
#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "mivo/ComSupport.h"
#include "DispatchCall.h"
#include "TestSupport.h"

namespace mivo::test {

// The class registered in the prefix, created by its ProgID.
Microsoft::WRL::ComPtr<IDispatch> CreateRegisteredPlugin();
// The same class from the code linked into the test, so the message box seam reaches it.
Microsoft::WRL::ComPtr<IDispatch> CreateLinkedPlugin();

// HKLM\Software\Tarrow\Mivo as the test leaves it; restored as it was found.
class InstallPathKey {
public:
    InstallPathKey();
    ~InstallPathKey();
    InstallPathKey(const InstallPathKey&) = delete;
    InstallPathKey& operator=(const InstallPathKey&) = delete;

    void RemoveKey();
    void RemoveValue();
    void SetText(const std::wstring& folder);
    void SetRaw(DWORD type, const void* data, DWORD bytes);

private:
    bool existed_ = false;
    bool hadValue_ = false;
    DWORD type_ = 0;
    std::vector<BYTE> data_;
};

struct ProgramRun {
    DWORD exitCode = 0;
    std::string output;  // standard output
};
// Runs a command line to its end (or the timeout), capturing its standard output.
ProgramRun RunProgram(const std::wstring& commandLine, DWORD timeoutMs = 60000);

std::wstring RegisteredPluginPath();                    // InprocServer32 of the class

}  // namespace mivo::test
