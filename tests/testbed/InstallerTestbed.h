#pragma once
// Seeing and steering the testbed content installer from tests: its log, the packages it
// stored, its knobs and its server processes. The installer writes beside its DLL and its
// server program; either is found through its registration, as COM finds it.
#include <windows.h>

#include "mivo/MessagePump.h"
#include "mivo/Registry.h"

#include <cwchar>
#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "mivo/ScopedHandle.h"

namespace mivo::test {

inline const wchar_t* const kInstallerClsid = L"{F06608C7-1874-4EEA-B3B2-DF99EBB144B8}";
inline const wchar_t* const kInstallerKnobsKey = L"Software\\MivoTestbed\\ContentInstaller";

// One line of content_installer.log: result "0", "1", "2", "E_FAIL", "RELEASED" or "ENDED",
// the URL, and the id of the process that served the call. Lines compare by result and URL:
// which process served is asked for where it matters.
struct InstallerLogLine {
    InstallerLogLine(std::wstring r = {}, std::wstring u = {}, DWORD p = 0)
        : result(std::move(r)), url(std::move(u)), process(p) {}
    std::wstring result;
    std::wstring url;
    DWORD process;
    bool operator==(const InstallerLogLine& other) const { return result == other.result && url == other.url; }
};

inline void PrintTo(const InstallerLogLine& line, std::ostream* out) {
    *out << '{';
    for (wchar_t c : line.result + L", " + line.url) *out << (c < 0x80 ? static_cast<char>(c) : '?');
    *out << ", process " << line.process << '}';
}

inline std::wstring InstallerClassValue(const wchar_t* subkey) {
    const std::wstring key = std::wstring(L"CLSID\\") + kInstallerClsid + L"\\" + subkey;
    wchar_t value[MAX_PATH];
    DWORD size = sizeof value;
    if (::RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return std::wstring();
    return value;
}

// True where the class is registered as a local server (the stand-in's program), as
// Messenger's own is, and not as the DLL.
inline bool InstallerOutOfProcess() {
    return InstallerClassValue(L"InprocServer32").empty() && !InstallerClassValue(L"LocalServer32").empty();
}

// The folder of the registered installer, DLL or program (the command line's quoted path).
inline std::wstring InstallerFolder() {
    std::wstring file = InstallerClassValue(L"InprocServer32");
    if (file.empty()) {
        file = InstallerClassValue(L"LocalServer32");
        if (!file.empty() && file[0] == L'"') file = file.substr(1, file.find(L'"', 1) - 1);
    }
    if (file.empty()) throw std::runtime_error("the testbed content installer is not registered");
    return file.substr(0, file.find_last_of(L'\\'));
}

inline std::wstring InstallerLogPath() { return InstallerFolder() + L"\\content_installer.log"; }
inline std::wstring InstalledFolder() { return InstallerFolder() + L"\\installed"; }
inline std::wstring InstalledPackagePath(const std::wstring& fileName) { return InstalledFolder() + L"\\" + fileName; }

// The log's lines in order; none when there is no log.
inline std::vector<InstallerLogLine> ReadInstallerLog() {
    std::vector<InstallerLogLine> lines;
    const UniqueFile file(::CreateFileW(InstallerLogPath().c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return lines;
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    std::wstring text(bytes.size(), L'\0');
    text.resize(static_cast<size_t>(::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                          &text[0], static_cast<int>(text.size()))));
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) end = text.size();
        const std::wstring line = text.substr(start, end - start);
        // The URL's own tabs are escaped: the first and the last tab part the fields.
        const size_t tab = line.find(L'\t'), last = line.rfind(L'\t');
        InstallerLogLine parsed{line.substr(0, tab)};
        if (tab != std::wstring::npos) {
            parsed.url = line.substr(tab + 1, last == tab ? std::wstring::npos : last - tab - 1);
            if (last != tab) parsed.process = static_cast<DWORD>(std::wcstoul(line.c_str() + last + 1, nullptr, 10));
        }
        lines.push_back(parsed);
        start = end + 2;
    }
    return lines;
}

// Deletes the log and every file the installer stored.
inline void ClearInstallerLog() {
    ::DeleteFileW(InstallerLogPath().c_str());
    WIN32_FIND_DATAW found;
    const std::wstring folder = InstalledFolder();
    const UniqueFind find(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!find) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            ::DeleteFileW((folder + L"\\" + found.cFileName).c_str());
    } while (::FindNextFileW(find.get(), &found));
}

// Knobs (1 = on): FailInstall, FailCreate, HideClassInfo, HideTypeInfo,
// HideConnectionPointList, OtherEvent, CloseWindowsInInstall, EndInInstall; EventResult (the
// event's result code), SlowInstall (milliseconds).
inline void SetInstallerKnob(const wchar_t* name, DWORD value) {
    if (mivo::SetRegValue(HKEY_CURRENT_USER, kInstallerKnobsKey, name, REG_DWORD, &value, sizeof value) !=
        ERROR_SUCCESS)
        throw std::runtime_error("cannot set a content installer knob");
}

inline void ClearInstallerKnobs() { mivo::DeleteRegTree(HKEY_CURRENT_USER, kInstallerKnobsKey); }

// For its life the installer class has no `subkey` key (its value is kept); it is put back
// afterwards. The prefix set-up registers the installer anew on every run, should a test
// program die before putting it back.
class HiddenInstallerKey {
public:
    explicit HiddenInstallerKey(const wchar_t* subkey)
        : key_(std::wstring(L"CLSID\\") + kInstallerClsid + L"\\" + subkey), value_(InstallerClassValue(subkey)) {
        if (value_.empty() || ::RegDeleteKeyW(HKEY_CLASSES_ROOT, key_.c_str()) != ERROR_SUCCESS)
            throw std::runtime_error("cannot hide a key of the installer's class");
    }
    ~HiddenInstallerKey() {
        mivo::SetRegValue(HKEY_CLASSES_ROOT, key_.c_str(), nullptr, REG_SZ, value_.c_str(),
                          static_cast<DWORD>((value_.size() + 1) * sizeof(wchar_t)));
    }
    HiddenInstallerKey(const HiddenInstallerKey&) = delete;
    HiddenInstallerKey& operator=(const HiddenInstallerKey&) = delete;

private:
    std::wstring key_, value_;
};

// Registered without naming its type library.
struct HiddenInstallerTypeLib : HiddenInstallerKey {
    HiddenInstallerTypeLib() : HiddenInstallerKey(L"TypeLib") {}
};

// Waits at most 10 s for a process to end. The thread's messages run meanwhile: a server
// that ends calls back into its clients, to let go of their event sinks.
inline bool ProcessEnds(HANDLE process) {
    for (const DWORD start = ::GetTickCount(); ::GetTickCount() - start < 10000;) {
        if (::MsgWaitForMultipleObjects(1, &process, FALSE, 100, QS_ALLINPUT) == WAIT_OBJECT_0) return true;
        mivo::DispatchPendingMessages();
    }
    return false;
}

// Quits a serving program, as a user quits Messenger while its objects are in use (through
// its window), and waits until it is gone; false when it still runs after 10 s.
inline bool QuitInstallerProcess(DWORD process) {
    const UniqueHandle handle(::OpenProcess(SYNCHRONIZE, FALSE, process));
    if (!handle) return true;  // already gone
    struct Close {
        static BOOL CALLBACK IfServing(HWND window, LPARAM target) {
            wchar_t name[32];
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == static_cast<DWORD>(target) && ::GetClassNameW(window, name, 32) &&
                std::wstring(name) == L"MivoTestbedMessenger")
                ::PostMessageW(window, WM_CLOSE, 0, 0);
            return TRUE;
        }
    };
    ::EnumWindows(&Close::IfServing, static_cast<LPARAM>(process));
    return ProcessEnds(handle.get());
}

// Waits until a serving process has ended on its own; false when it still runs after 10 s.
inline bool InstallerProcessEnds(DWORD process) {
    const UniqueHandle handle(::OpenProcess(SYNCHRONIZE, FALSE, process));
    return !handle || ProcessEnds(handle.get());
}

// Not registered as a local server, as on a machine where Messenger was removed.
struct UnregisteredInstallerServer : HiddenInstallerKey {
    UnregisteredInstallerServer() : HiddenInstallerKey(L"LocalServer32") {}
};

}  // namespace mivo::test
