#pragma once
// frmAbout: the plug-in's About window. Each instance lives until the user closes it;
// several can be open at once.
#include <windows.h>

#include "Module.h"
#include "mivo/WindowBinding.h"

namespace mivo::plugin {

class frmAbout final : private WindowObject {
public:
    enum ControlId { IDC_Label1 = 101, IDC_Label2 = 102, IDC_Command1 = 103 };
    static constexpr const wchar_t* ClassName = L"MivoPluginMsgPlus.frmAbout";

    // Creates a new instance and loads it (hidden, version text filled in). From then on
    // the window owns the instance. Raises mivo::ComError on failure.
    static HWND Load();

    // Forgets the window class once no window of it is left (before the library unloads).
    static void UnregisterWindowClass() noexcept;

    ~frmAbout() override = default;
    frmAbout(const frmAbout&) = delete;
    frmAbout& operator=(const frmAbout&) = delete;

private:
    frmAbout() = default;

    void CreateControls();
    void Form_Load();
    void Command1_Click();

    LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    HWND label2_ = nullptr;
    HWND command1_ = nullptr;
    ModuleLock moduleLock_;
};

}  // namespace mivo::plugin
