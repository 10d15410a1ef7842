#include "frmAbout.h"

#include <memory>
#include <string>

#include "mivo/ComSupport.h"
#include "mivo/ScopedHandle.h"
#include "mivo/Twips.h"
#include "mivo/WindowBinding.h"

namespace mivo::plugin {
namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// Geometry in twips, as the window was designed (left, top, width, height).
constexpr int kClientWidth = 4680;
constexpr int kClientHeight = 3195;
constexpr TwipsRect kLabel1{120, 120, 4455, 615};
constexpr TwipsRect kLabel2{120, 960, 3255, 255};
constexpr TwipsRect kCommand1{1440, 2640, 1575, 375};

const wchar_t kLabel1Text[] =
    L"This plugin is a part of Mivo, a free program made for MSN Messenger users. The content is "
    L"brought to you by the Holmfeld network. Part of Tarrow BVBA (Belgium).";
const wchar_t kLabel2DesignText[] = L"Mivo Plugin version: ";

HWND CreateControl(HWND parent, const wchar_t* windowClass, const wchar_t* text, DWORD style, const TwipsRect& design,
                   int id, const TwipsPerPixel& tpp) {
    const PixelRect r = ToPixels(design, tpp);
    HWND control = ::CreateWindowExW(0, windowClass, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.width,
                                     r.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                     ThisModule(), nullptr);
    if (!control) throw ComError(HRESULT_FROM_WIN32(::GetLastError()), "The About window could not be created");
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
}

void RegisterAboutClass() {
    WNDCLASSEXW wc{};
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = frmAbout::ClassName;
    RegisterWindowClass(wc);
}

}  // namespace

HWND frmAbout::Load() {
    RegisterAboutClass();
    std::unique_ptr<frmAbout> form(new frmAbout());
    const TwipsPerPixel tpp = ScreenTwipsPerPixel();
    RECT frame{0, 0, TwipsToPixels(kClientWidth, tpp.x), TwipsToPixels(kClientHeight, tpp.y)};
    ::AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
    UniqueWindow window(CreateBoundWindow(*form, 0, ClassName, L"About Mivo Plugin", kStyle, CW_USEDEFAULT,
                                          CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                          nullptr, nullptr));
    form->CreateControls();
    form->Form_Load();
    // The window base is private: the conversion is made here, where it is accessible.
    GiveToWindow(std::unique_ptr<WindowObject>(static_cast<WindowObject*>(form.release())));
    return window.release();
}

void frmAbout::UnregisterWindowClass() noexcept { ::UnregisterClassW(ClassName, ThisModule()); }

void frmAbout::CreateControls() {
    const TwipsPerPixel tpp = ScreenTwipsPerPixel();
    CreateControl(BoundWindow(), L"STATIC", kLabel1Text, SS_LEFT, kLabel1, IDC_Label1, tpp);
    label2_ = CreateControl(BoundWindow(), L"STATIC", kLabel2DesignText, SS_LEFT, kLabel2, IDC_Label2, tpp);
    command1_ =
        CreateControl(BoundWindow(), L"BUTTON", L"Close", BS_PUSHBUTTON | WS_TABSTOP, kCommand1, IDC_Command1, tpp);
}

void frmAbout::Form_Load() {
    const ModuleVersion version = ReadModuleVersion();
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(label2_)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(label2_, text.data(), static_cast<int>(text.size()))));
    text += L" " + std::to_wstring(version.major) + L"." + std::to_wstring(version.minor) + L"." +
            std::to_wstring(version.revision);
    ::SetWindowTextW(label2_, text.c_str());
}

void frmAbout::Command1_Click() { ::DestroyWindow(BoundWindow()); }

LRESULT frmAbout::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_Command1 && HIWORD(wParam) == BN_CLICKED) {
                Command1_Click();
                return 0;
            }
            break;
        case WM_SETFOCUS:
            if (command1_) ::SetFocus(command1_);
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace mivo::plugin
