#pragma once
// basRegistry: a small reader of registry keys and values, and the recorded install
// folder of Mivo. Registry failures never raise: they give empty text.
#include <windows.h>

#include <cstdint>
#include <string>
#include <variant>

namespace mivo::plugin::basRegistry {

// Return code of this thread's most recent registry call (0 = success).
extern thread_local LONG lastRegResult;

// A value read: text (REG_SZ, and the empty text for anything unreadable) or a number (REG_DWORD).
using RegValue = std::variant<std::wstring, std::int32_t>;

bool keyExists(HKEY root, const std::wstring& keyPath);
RegValue getRegValue(HKEY root, const std::wstring& keyPath, const std::wstring& valueName);
// HKEY_LOCAL_MACHINE\Software\Tarrow\Mivo, value InstallPath, as text; empty when not recorded.
std::wstring getInstallPath();

}  // namespace mivo::plugin::basRegistry
