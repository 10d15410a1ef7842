#include "MivoLaunch.h"

#include <windows.h>

#include <string>

#include "basRegistry.h"
#include "mivo/ComSupport.h"
#include "mivo/MessageBox.h"
#include "mivo/ScopedHandle.h"

namespace mivo::plugin {

void openMivo() {
    const std::wstring folder = basRegistry::getInstallPath();
    if (folder.empty()) {
        ShowMessageBox(nullptr, L"Mivo couldn't be found, please reinstall", L"MivoPluginMsgPlus",
                       MB_OK | MB_ICONERROR);
        return;
    }
    // The command line is the bare path, unquoted. Naming the program file as well keeps
    // Windows from trying the prefixes of a path with blanks ("C:\Program.exe" before
    // "C:\Program Files\...\mivo.exe"), so exactly this file starts or nothing does.
    const std::wstring program = folder + L"\\mivo.exe";
    std::wstring commandLine = program;  // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &started)) {
        throw ComError(HRESULT_FROM_WIN32(::GetLastError()), "Mivo could not be started");
    }
    UniqueHandle process(started.hProcess);
    UniqueHandle thread(started.hThread);
}

}  // namespace mivo::plugin
