#include "TestSupport.h"

#include "mivo/MessagePump.h"
#include "mivo/Text.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace mivo::test {

void PumpMessages(DWORD ms) {
    DWORD start = ::GetTickCount();
    do {
        mivo::DispatchPendingMessages();
        if (ms) ::Sleep(5);
    } while (::GetTickCount() - start < ms);
}

GuiCounts CurrentGuiCounts() {
    GuiCounts c;
    c.gdi = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    c.user = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    return c;
}

MessageBoxRecorder::MessageBoxRecorder(int answer)
    : answer_(answer),
      handler_([this](HWND, const std::wstring& text, const std::wstring& title, UINT flags) {
          shown_.push_back({text, title, flags});
          return answer_;
      }) {}

std::wstring ModuleFolder() {
    wchar_t path[MAX_PATH];
    DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s(path, n);
    return s.substr(0, s.find_last_of(L'\\'));
}

std::string ReadFileBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::wstring& path) {
    DWORD attrs = ::GetFileAttributesW(path.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY);
}

StartedProcess StartProcess(const std::wstring& commandLine, DWORD flags) {
    std::wstring writable = commandLine;  // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr, &startup,
                          &info))
        throw std::runtime_error("cannot start: " + ToAnsi(commandLine));
    return {UniqueHandle(info.hProcess), UniqueHandle(info.hThread), info.dwProcessId};
}

DWORD RunProcess(const std::wstring& commandLine, DWORD timeoutMs) {
    StartedProcess started = StartProcess(commandLine);
    if (::WaitForSingleObject(started.process.get(), timeoutMs) != WAIT_OBJECT_0) {
        EndProcess(started.process.get());
        throw std::runtime_error("still running after the time limit: " + ToAnsi(commandLine));
    }
    return ProcessExitCode(started.process.get());
}

void EndProcess(HANDLE process) {
    ::TerminateProcess(process, 1);
    ::WaitForSingleObject(process, 10000);
}

DWORD ProcessExitCode(HANDLE process) {
    DWORD code = 0;
    ::GetExitCodeProcess(process, &code);
    return code;
}

std::wstring WindowsPath(const std::string& unixPath) {
    // Wine maps the Unix root to drive Z:.
    std::wstring out = L"Z:";
    for (char c : unixPath) out += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return out;
}

std::wstring SourceDir() { return WindowsPath(MIVO_TEST_SOURCE_DIR); }

std::vector<std::pair<const char*, std::string>> HostileLists(const std::string& root, const std::string& element) {
    const int n = 100000;
    std::string attributes = "<" + root + "><" + element + " id=\"1\" type=\"png\"";
    for (int i = 0; i < n; ++i) attributes += " a" + std::to_string(i) + "=\"1\"";
    attributes += ">x</" + element + "></" + root + ">";
    std::string deep = "<" + root + "><" + element + " id=\"1\" type=\"png\">";
    for (int i = 0; i < n; ++i) deep += "<b>";
    for (int i = 0; i < n; ++i) deep += "</b>";
    deep += "</" + element + "></" + root + ">";
    return {{"100,000 attributes", attributes}, {"100,000 nested elements", deep}};
}

}  // namespace mivo::test
