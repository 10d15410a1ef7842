#pragma once
// Seeing and steering the testbed content installer from tests: its log, the packages it
// stored, and its knobs. The installer writes beside its DLL; the DLL is found through
// its registration, as COM finds it.
#include <windows.h>

#include "mivo/Registry.h"

#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "mivo/ScopedHandle.h"

namespace mivo::test {

inline const wchar_t* const kInstallerClsid = L"{F06608C7-1874-4EEA-B3B2-DF99EBB144B8}";
inline const wchar_t* const kInstallerKnobsKey = L"Software\\MivoTestbed\\ContentInstaller";

// One line of content_installer.log: result "0", "1", "2" or "E_FAIL", and the URL.
struct InstallerLogLine {
    std::wstring result;
    std::wstring url;
    bool operator==(const InstallerLogLine& other) const { return result == other.result && url == other.url; }
};

inline void PrintTo(const InstallerLogLine& line, std::ostream* out) {
    *out << '{';
    for (wchar_t c : line.result + L", " + line.url) *out << (c < 0x80 ? static_cast<char>(c) : '?');
    *out << '}';
}

// The folder of the registered installer DLL.
inline std::wstring InstallerFolder() {
    const std::wstring key = std::wstring(L"CLSID\\") + kInstallerClsid + L"\\InprocServer32";
    wchar_t path[MAX_PATH];
    DWORD size = sizeof path;
    if (::RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, path, &size) != ERROR_SUCCESS)
        throw std::runtime_error("the testbed content installer is not registered");
    const std::wstring file(path);
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
        const size_t tab = line.find(L'\t');
        lines.push_back({line.substr(0, tab), tab == std::wstring::npos ? std::wstring() : line.substr(tab + 1)});
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
// HideConnectionPointList, OtherEvent, CloseWindowsInInstall; EventResult (the event's
// result code).
inline void SetInstallerKnob(const wchar_t* name, DWORD value) {
    if (mivo::SetRegValue(HKEY_CURRENT_USER, kInstallerKnobsKey, name, REG_DWORD, &value, sizeof value) !=
        ERROR_SUCCESS)
        throw std::runtime_error("cannot set a content installer knob");
}

inline void ClearInstallerKnobs() { mivo::DeleteRegTree(HKEY_CURRENT_USER, kInstallerKnobsKey); }

// For its life the installer class is registered without naming its type library (the
// class's TypeLib key is gone); it is put back afterwards. The prefix set-up registers the
// installer anew on every run, should a test program die before putting it back.
class HiddenInstallerTypeLib {
public:
    HiddenInstallerTypeLib() {
        wchar_t value[64];
        DWORD size = sizeof value;
        if (::RegGetValueW(HKEY_CLASSES_ROOT, Key().c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size) !=
                ERROR_SUCCESS ||
            ::RegDeleteKeyW(HKEY_CLASSES_ROOT, Key().c_str()) != ERROR_SUCCESS)
            throw std::runtime_error("cannot hide the installer's type library");
        libId_ = value;
    }
    ~HiddenInstallerTypeLib() {
        mivo::SetRegValue(HKEY_CLASSES_ROOT, Key().c_str(), nullptr, REG_SZ, libId_.c_str(),
                          static_cast<DWORD>((libId_.size() + 1) * sizeof(wchar_t)));
    }
    HiddenInstallerTypeLib(const HiddenInstallerTypeLib&) = delete;
    HiddenInstallerTypeLib& operator=(const HiddenInstallerTypeLib&) = delete;

private:
    static std::wstring Key() { return std::wstring(L"CLSID\\") + kInstallerClsid + L"\\TypeLib"; }
    std::wstring libId_;
};

}  // namespace mivo::test
