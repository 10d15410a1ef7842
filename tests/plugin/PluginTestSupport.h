#pragma once
// Calling the plug-in the way Messenger Plus! does (by name through IDispatch, strings by
// reference), the install-folder registry value, and child processes.
#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <deque>
#include <string>
#include <vector>

#include "mivo/ComSupport.h"

namespace mivo::test {

// The class registered in the prefix, created by its ProgID.
Microsoft::WRL::ComPtr<IDispatch> CreateRegisteredPlugin();
// The same class from the code linked into the test, so the message box seam reaches it.
Microsoft::WRL::ComPtr<IDispatch> CreateLinkedPlugin();

// Arguments of one call, in parameter order; by-reference ones can be read afterwards.
class Args {
public:
    Args& Long(long value);
    Args& String(const std::wstring& value);
    Args& Nothing();
    Args& StringRef(const std::wstring& initial);
    Args& LongRef(long initial);

    std::wstring StringAt(size_t position) const;
    long LongAt(size_t position) const;
    DISPPARAMS Params();

private:
    std::deque<Bstr> strings_;
    std::deque<LONG> longs_;
    std::vector<VARIANT> ordered_;
    std::vector<VARIANT> reversed_;
};

struct Outcome {
    HRESULT hr = E_FAIL;
    HRESULT scode = S_OK;  // the operation's own failure, when hr is DISP_E_EXCEPTION
    std::wstring description;
    VARTYPE resultType = VT_EMPTY;
    bool boolResult = false;
};

Outcome Call(IDispatch* plugin, const wchar_t* operation, Args& args);

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

std::wstring WindowsPath(const std::string& unixPath);  // Z:\... as Wine maps it
std::wstring RegisteredPluginPath();                    // InprocServer32 of the class

}  // namespace mivo::test
