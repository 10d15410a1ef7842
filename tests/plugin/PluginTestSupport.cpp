#include "PluginTestSupport.h"

#include <stdexcept>

#include "Mivo.h"
#include "mivo/Registry.h"

namespace mivo::test {

Microsoft::WRL::ComPtr<IDispatch> CreateRegisteredPlugin() {
    CLSID clsid;
    ThrowIfFailed(::CLSIDFromProgID(L"MivoPluginMsgPlus.Mivo", &clsid), "CLSIDFromProgID");
    Microsoft::WRL::ComPtr<IDispatch> plugin;
    ThrowIfFailed(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                     reinterpret_cast<void**>(plugin.GetAddressOf())),
                  "CoCreateInstance");
    return plugin;
}

Microsoft::WRL::ComPtr<IDispatch> CreateLinkedPlugin() {
    Microsoft::WRL::ComPtr<IDispatch> plugin;
    ThrowIfFailed(mivo::plugin::Mivo::Create(IID_IDispatch, reinterpret_cast<void**>(plugin.GetAddressOf())),
                  "Mivo::Create");
    return plugin;
}

namespace {
constexpr wchar_t kKeyPath[] = L"Software\\Tarrow\\Mivo";
constexpr wchar_t kValueName[] = L"InstallPath";

HKEY CreateKey() {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        throw std::runtime_error("cannot create the install path key");
    return key;
}
}  // namespace

InstallPathKey::InstallPathKey() {
    HKEY key = nullptr;
    existed_ = ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKeyPath, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (!existed_) return;
    DWORD size = 0;
    hadValue_ = ::RegQueryValueExW(key, kValueName, nullptr, &type_, nullptr, &size) == ERROR_SUCCESS;
    data_.resize(size);
    if (hadValue_ && size) ::RegQueryValueExW(key, kValueName, nullptr, &type_, data_.data(), &size);
    ::RegCloseKey(key);
}

InstallPathKey::~InstallPathKey() {
    if (!existed_) {
        RemoveKey();
    } else if (!hadValue_) {
        RemoveValue();
    } else {
        SetRaw(type_, data_.data(), static_cast<DWORD>(data_.size()));
    }
}

void InstallPathKey::RemoveKey() { DeleteRegTree(HKEY_LOCAL_MACHINE, kKeyPath); }

void InstallPathKey::RemoveValue() {
    HKEY key = CreateKey();
    ::RegDeleteValueW(key, kValueName);
    ::RegCloseKey(key);
}

void InstallPathKey::SetText(const std::wstring& folder) {
    SetRaw(REG_SZ, folder.c_str(), static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
}

void InstallPathKey::SetRaw(DWORD type, const void* data, DWORD bytes) {
    HKEY key = CreateKey();
    ::RegSetValueExW(key, kValueName, 0, type, static_cast<const BYTE*>(data), bytes);
    ::RegCloseKey(key);
}

ProgramRun RunProgram(const std::wstring& commandLine, DWORD timeoutMs) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0)) throw std::runtime_error("CreatePipe");
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION started{};
    std::wstring line = commandLine;
    const BOOL ok = ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                     &started);
    ::CloseHandle(writeEnd);
    if (!ok) {
        ::CloseHandle(readEnd);
        throw std::runtime_error("cannot start the program");
    }
    ProgramRun run;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got) run.output.append(buffer, got);
    ::CloseHandle(readEnd);
    ::WaitForSingleObject(started.hProcess, timeoutMs);
    ::GetExitCodeProcess(started.hProcess, &run.exitCode);
    ::CloseHandle(started.hProcess);
    ::CloseHandle(started.hThread);
    return run;
}

std::wstring RegisteredPluginPath() {
    wchar_t path[MAX_PATH] = {};
    LONG size = sizeof(path);
    ::RegQueryValueW(HKEY_CLASSES_ROOT, L"CLSID\\{070204D3-DF6D-47DD-BFA1-6B64FB01F4D8}\\InprocServer32", path,
                     &size);
    return path;
}

}  // namespace mivo::test
