#pragma once
// Small helpers shared by the test programs: message pumping, GUI object counts,
// captured message boxes, files.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "mivo/MessageBox.h"
#include "mivo/ScopedHandle.h"

namespace mivo::test {

// Dispatches pending messages of this thread for at least `ms` milliseconds.
void PumpMessages(DWORD ms = 0);

struct GuiCounts {
    DWORD gdi = 0;
    DWORD user = 0;
};
GuiCounts CurrentGuiCounts();

struct ShownMessageBox {
    std::wstring text;
    std::wstring title;
    UINT flags = 0;
};

// Answers every message box with `answer` and records what was shown.
class MessageBoxRecorder {
public:
    explicit MessageBoxRecorder(int answer = IDOK);
    const std::vector<ShownMessageBox>& shown() const { return shown_; }
    void SetAnswer(int answer) { answer_ = answer; }

private:
    std::vector<ShownMessageBox> shown_;
    int answer_;
    ScopedMessageBoxHandler handler_;
};

// A process started by a test, its handles owned.
struct StartedProcess {
    UniqueHandle process;
    UniqueHandle thread;
    DWORD id = 0;
};
// Starts `commandLine` with CreateProcessW's `flags`; throws std::runtime_error when it cannot.
StartedProcess StartProcess(const std::wstring& commandLine, DWORD flags = 0);
// Runs `commandLine` and waits for that one process only; ends it and throws after `timeoutMs`.
DWORD RunProcess(const std::wstring& commandLine, DWORD timeoutMs);
// Ends the process and waits (at most 10 s) until it has gone.
void EndProcess(HANDLE process);
DWORD ProcessExitCode(HANDLE process);

// Well-formed lists of root and element far beyond any real one, each of which once kept the
// XML parser busy for seconds: one element with 100,000 attributes, 100,000 nested elements.
std::vector<std::pair<const char*, std::string>> HostileLists(const std::string& root, const std::string& element);

std::wstring ModuleFolder();  // folder of the running test program, with no trailing backslash
std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
std::wstring WindowsPath(const std::string& unixPath);  // as Wine maps it: Z:\\...
std::wstring SourceDir();  // the source tree, as a Windows path

}  // namespace mivo::test
