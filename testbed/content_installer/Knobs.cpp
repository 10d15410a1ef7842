#include "Knobs.h"

#include "mivo/ScopedHandle.h"

namespace mivo::testbed {
namespace {

std::optional<DWORD> ReadDword(HKEY key, const wchar_t* name) {
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return std::nullopt;
    return value;
}

}  // namespace

Knobs ReadKnobs() {
    Knobs knobs;
    HKEY raw = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\MivoTestbed\\ContentInstaller", 0, KEY_QUERY_VALUE, &raw) !=
        ERROR_SUCCESS)
        return knobs;
    const UniqueRegKey key(raw);
    knobs.failInstall = ReadDword(key.get(), L"FailInstall").value_or(0) != 0;
    knobs.failCreate = ReadDword(key.get(), L"FailCreate").value_or(0) != 0;
    knobs.hideClassInfo = ReadDword(key.get(), L"HideClassInfo").value_or(0) != 0;
    knobs.hideTypeInfo = ReadDword(key.get(), L"HideTypeInfo").value_or(0) != 0;
    knobs.hidePointList = ReadDword(key.get(), L"HideConnectionPointList").value_or(0) != 0;
    knobs.otherEvent = ReadDword(key.get(), L"OtherEvent").value_or(0) != 0;
    knobs.closeWindows = ReadDword(key.get(), L"CloseWindowsInInstall").value_or(0) != 0;
    knobs.slowInstallMs = ReadDword(key.get(), L"SlowInstall").value_or(0);
    knobs.endInInstall = ReadDword(key.get(), L"EndInInstall").value_or(0) != 0;
    if (const auto result = ReadDword(key.get(), L"EventResult")) knobs.eventResult = static_cast<LONG>(*result);
    return knobs;
}

}  // namespace mivo::testbed
