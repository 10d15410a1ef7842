#include "PackageStore.h"

#include <windows.h>

#include <cwchar>

#include "mivo/ComModule.h"
#include "mivo/ComSupport.h"
#include "mivo/ScopedHandle.h"
#include "mivo/Text.h"

namespace mivo::testbed {
namespace {

const size_t kMaxNameLength = 120;

bool IsDeviceName(const std::wstring& name) {
    const std::wstring base = name.substr(0, name.find(L'.'));
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL"})
        if (EqualsIgnoreCase(base, device)) return true;
    if (base.size() == 4 && base[3] >= L'1' && base[3] <= L'9') {
        const std::wstring stem = base.substr(0, 3);
        return EqualsIgnoreCase(stem, L"COM") || EqualsIgnoreCase(stem, L"LPT");
    }
    return false;
}

}  // namespace

bool IsCabinet(const std::string& bytes) { return bytes.compare(0, 4, "MSCF") == 0; }

std::wstring PackageFileName(const std::wstring& url) {
    std::wstring name = url.substr(0, url.find_first_of(L"?#"));
    name = name.substr(name.find_last_of(L"/\\") + 1);  // npos + 1 == 0: no separator at all
    if (name.size() > kMaxNameLength) name.resize(kMaxNameLength);
    for (wchar_t& c : name) {
        if (c < 0x20 || std::wcschr(L"<>:\"/\\|?*", c)) c = L'_';
    }
    // Windows drops trailing dots and spaces, which would turn ".." into a folder name.
    for (auto it = name.rbegin(); it != name.rend() && (*it == L'.' || *it == L' '); ++it) *it = L'_';
    if (name.empty()) return L"package.cab";
    if (IsDeviceName(name)) name.insert(0, 1, L'_');
    return name;
}

void StorePackage(const std::wstring& url, const std::string& bytes) {
    const std::wstring folder = ModuleFolder() + L"\\installed";
    if (!::CreateDirectoryW(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
        throw ComError(LastErrorHr(), "CreateDirectoryW");
    const std::wstring path = folder + L"\\" + PackageFileName(url);
    const UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw ComError(LastErrorHr(), "CreateFileW");
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size())
        throw ComError(LastErrorHr(), "WriteFile");
}

}  // namespace mivo::testbed
