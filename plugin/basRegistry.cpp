#include "basRegistry.h"

namespace mivo::plugin::basRegistry {

thread_local LONG lastRegResult = ERROR_SUCCESS;

namespace {

HKEY OpenKey(HKEY root, const std::wstring& keyPath) {
    HKEY key = nullptr;
    lastRegResult = ::RegOpenKeyExW(root, keyPath.c_str(), 0, KEY_READ, &key);
    return lastRegResult == ERROR_SUCCESS ? key : nullptr;
}

void CloseKey(HKEY key) {
    // Closing "no key" is what a zero handle gives: an invalid-handle code.
    lastRegResult = key ? ::RegCloseKey(key) : ERROR_INVALID_HANDLE;
}

// The key is closed on every way out, its code kept in lastRegResult.
class OpenedKey {
public:
    OpenedKey(HKEY root, const std::wstring& keyPath) : key_(OpenKey(root, keyPath)) {}
    ~OpenedKey() { CloseKey(key_); }
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;
    HKEY get() const noexcept { return key_; }

private:
    HKEY key_;
};

std::wstring ReadText(HKEY key, const std::wstring& valueName, DWORD sizeInBytes) {
    // The size is in bytes and our characters are two bytes wide.
    std::wstring buffer((sizeInBytes + 1) / sizeof(wchar_t), L'\0');
    DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    lastRegResult = ::RegQueryValueExW(key, valueName.c_str(), nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(buffer.data()), &bytes);
    if (lastRegResult != ERROR_SUCCESS) return {};
    buffer.resize((bytes + 1) / sizeof(wchar_t));
    // Cut at the stored terminator; a value stored without one is taken whole.
    const size_t zero = buffer.find(L'\0');
    if (zero != std::wstring::npos) buffer.resize(zero);
    return buffer;
}

}  // namespace

bool keyExists(HKEY root, const std::wstring& keyPath) {
    OpenedKey key(root, keyPath);
    return key.get() != nullptr;
}

RegValue getRegValue(HKEY root, const std::wstring& keyPath, const std::wstring& valueName) {
    OpenedKey key(root, keyPath);
    if (!key.get()) return std::wstring();
    DWORD type = 0;  // stays 0 when the value is missing
    DWORD size = 0;
    lastRegResult = ::RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size);
    switch (type) {
        case REG_SZ:
            return ReadText(key.get(), valueName, size);
        case REG_DWORD: {
            DWORD number = 0;
            DWORD bytes = sizeof(number);
            lastRegResult = ::RegQueryValueExW(key.get(), valueName.c_str(), nullptr, nullptr,
                                               reinterpret_cast<BYTE*>(&number), &bytes);
            if (lastRegResult != ERROR_SUCCESS) return std::wstring();
            return static_cast<std::int32_t>(number);
        }
        default:
            return std::wstring();
    }
}

std::wstring getInstallPath() {
    const std::wstring keyPath = L"Software\\Tarrow\\Mivo";
    if (!keyExists(HKEY_LOCAL_MACHINE, keyPath)) return {};
    const RegValue value = getRegValue(HKEY_LOCAL_MACHINE, keyPath, L"InstallPath");
    if (const auto* number = std::get_if<std::int32_t>(&value)) return std::to_wstring(*number);
    return std::get<std::wstring>(value);
}

}  // namespace mivo::plugin::basRegistry
