#include "SetupTestSupport.h"

#include <shlobj.h>
#include <shobjidl.h>
#include <psapi.h>
#include <tlhelp32.h>
#include <wrl/client.h>

#include <stdexcept>
#include <vector>

#include "mivo/ComSupport.h"
#include "mivo/ScopedHandle.h"
#include "mivo/Text.h"

namespace mivo::test {

namespace {

UniqueRegKey OpenKey(HKEY root, const std::wstring& path, REGSAM access = KEY_READ) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, access, &key) != ERROR_SUCCESS) return UniqueRegKey();
    return UniqueRegKey(key);
}

struct WindowSearch {
    DWORD pid;
    bool found;
};

BOOL CALLBACK FindVisibleWindowOf(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == search->pid && ::IsWindowVisible(hwnd)) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

bool HasVisibleWindow(DWORD pid) {
    WindowSearch search{pid, false};
    ::EnumWindows(FindVisibleWindowOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Running processes whose program file is `path`.
std::vector<std::pair<DWORD, UniqueHandle>> ProcessesOf(const std::wstring& path) {
    std::vector<std::pair<DWORD, UniqueHandle>> found;
    UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return found;
    const std::wstring fileName = path.substr(path.find_last_of(L'\\') + 1);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry)) {
        if (!EqualsIgnoreCase(entry.szExeFile, fileName)) continue;
        UniqueHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_TERMINATE |
                                               SYNCHRONIZE,
                                           FALSE, entry.th32ProcessID));
        if (!process) continue;
        wchar_t image[MAX_PATH];
        const DWORD size = ::GetModuleFileNameExW(process.get(), nullptr, image, MAX_PATH);
        if (size != 0 && EqualsIgnoreCase(std::wstring(image, size), path))
            found.emplace_back(entry.th32ProcessID, std::move(process));
    }
    return found;
}

}  // namespace

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

DWORD RunProcessTree(const std::wstring& commandLine, DWORD timeoutMs) {
    // Ending the job ends whatever is left of the tree, also when this function throws.
    UniqueHandle job(::CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!job || !::SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits)))
        throw std::runtime_error("cannot make a job object");
    StartedProcess started = StartProcess(commandLine, CREATE_SUSPENDED);
    if (!::AssignProcessToJobObject(job.get(), started.process.get())) {
        EndProcess(started.process.get());
        throw std::runtime_error("cannot put the process into the job");
    }
    ::ResumeThread(started.thread.get());
    const DWORD begin = ::GetTickCount();
    for (;;) {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
        if (!::QueryInformationJobObject(job.get(), JobObjectBasicAccountingInformation, &accounting,
                                         sizeof(accounting), nullptr))
            throw std::runtime_error("cannot query the job");
        if (accounting.ActiveProcesses == 0) break;
        if (::GetTickCount() - begin > timeoutMs)
            throw std::runtime_error("still running after the time limit: " + ToAnsi(commandLine));
        ::Sleep(100);
    }
    return ProcessExitCode(started.process.get());
}

bool EndProgramOnceItShowsAWindow(const std::wstring& path, DWORD timeoutMs) {
    const DWORD begin = ::GetTickCount();
    do {
        for (auto& [pid, process] : ProcessesOf(path)) {
            if (HasVisibleWindow(pid)) {
                EndProcess(process.get());
                return true;
            }
        }
        ::Sleep(100);
    } while (::GetTickCount() - begin < timeoutMs);
    return false;
}

void EndEveryProcessOf(const std::wstring& path) {
    for (auto& [pid, process] : ProcessesOf(path)) EndProcess(process.get());
}

bool KeyExists(HKEY root, const std::wstring& path) { return static_cast<bool>(OpenKey(root, path)); }

std::optional<std::wstring> ReadString(HKEY root, const std::wstring& path, const std::wstring& name) {
    UniqueRegKey key = OpenKey(root, path);
    DWORD type = 0;
    DWORD bytes = 0;
    if (!key || ::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &bytes) !=
        ERROR_SUCCESS)
        return std::nullopt;
    value.resize(value.find(L'\0'));
    return value;
}

void WriteString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& value) {
    HKEY raw = nullptr;
    if (::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &raw, nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create key " + ToAnsi(path));
    UniqueRegKey key(raw);
    ::RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void DeleteValue(HKEY root, const std::wstring& path, const std::wstring& name) {
    if (UniqueRegKey key = OpenKey(root, path, KEY_SET_VALUE)) ::RegDeleteValueW(key.get(), name.c_str());
}

void DeleteKeyIfEmpty(HKEY root, const std::wstring& path) {
    DWORD subKeys = 1;
    DWORD values = 1;
    {
        UniqueRegKey key = OpenKey(root, path);
        if (!key || ::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values,
                                       nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return;
    }
    if (subKeys == 0 && values == 0) ::RegDeleteKeyW(root, path.c_str());
}

std::optional<std::wstring> RegisteredServer(const std::wstring& progId) {
    const auto clsid = ReadString(HKEY_CLASSES_ROOT, progId + L"\\CLSID", L"");
    if (!clsid) return std::nullopt;
    return ReadString(HKEY_CLASSES_ROOT, L"CLSID\\" + *clsid + L"\\InprocServer32", L"");
}

bool DirectoryExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring CommonProgramsFolder() {
    wchar_t path[MAX_PATH];
    ThrowIfFailed(::SHGetFolderPathW(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, path),
                  "SHGetFolderPathW");
    return path;
}

std::wstring ShortcutTarget(const std::wstring& linkPath) {
    Microsoft::WRL::ComPtr<IShellLinkW> link;
    ThrowIfFailed(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)),
                  "CoCreateInstance(ShellLink)");
    Microsoft::WRL::ComPtr<IPersistFile> file;
    ThrowIfFailed(link.As(&file), "IPersistFile");
    ThrowIfFailed(file->Load(linkPath.c_str(), STGM_READ), "IPersistFile::Load");
    wchar_t target[MAX_PATH] = L"";
    ThrowIfFailed(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH), "IShellLinkW::GetPath");
    return target;
}

}  // namespace mivo::test
