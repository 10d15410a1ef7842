// Reads the display picture grid of a running Mivo.exe as a screen reader does, from a process
// of its own: clicks the first display category, waits for the cells, writes the list's name
// and the cells' names to a file (UTF-16, a line each), gives one cell the focus and writes the
// focus it reads back ("Focus" and the child id), then asks for that cell's default action.
//   grid_probe PROCESS-ID CELL OUTPUT-FILE
// Exit code 0 when every call succeeded.
#include <windows.h>
#include <oleacc.h>
#include <shellapi.h>
#include <wrl/client.h>

#include <cwchar>
#include <string>

#include "ControlIds.h"
#include "mivo/ComSupport.h"
#include "mivo/ScopedHandle.h"

namespace {

struct Search {
    DWORD process;
    int id;
    HWND found;
};

BOOL CALLBACK SearchChild(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    if (::GetDlgCtrlID(child) == search->id) search->found = child;
    return search->found == nullptr;
}

BOOL CALLBACK SearchTop(HWND top, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(top, &owner);
    if (owner == search->process && ::IsWindowVisible(top)) ::EnumChildWindows(top, SearchChild, param);
    return search->found == nullptr;
}

HWND FindControl(DWORD process, int id) {
    Search search{process, id, nullptr};
    ::EnumWindows(SearchTop, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

template <typename Condition>
bool Within(DWORD ms, Condition condition) {
    for (const DWORD start = ::GetTickCount(); ::GetTickCount() - start < ms; ::Sleep(50))
        if (condition()) return true;
    return condition();
}

VARIANT Child(long id) {
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

int Probe(DWORD process, long cell, const std::wstring& output) {
    HWND list = nullptr, grid = nullptr;
    if (!Within(20000, [&] { return (list = FindControl(process, IDC_lstDispCats)) != nullptr; })) return 2;
    grid = FindControl(process, IDC_DisplayList);
    if (!grid) return 3;
    ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
    ::PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(10, 5));

    Microsoft::WRL::ComPtr<IAccessible> object;
    if (FAILED(::AccessibleObjectFromWindow(grid, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                            reinterpret_cast<void**>(object.GetAddressOf()))))
        return 4;
    long count = 0;
    if (!Within(20000, [&] { return SUCCEEDED(object->get_accChildCount(&count)) && count > 0; })) return 5;

    std::wstring text;
    for (long k = 0; k <= count; ++k) {
        mivo::Bstr name;
        if (object->get_accName(Child(k), name.out()) != S_OK) return 6;
        text += name.str() + L"\r\n";
    }
    if (object->accSelect(SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION, Child(cell)) != S_OK) return 9;
    mivo::Variant focus;
    if (object->get_accFocus(focus.out()) != S_OK || focus.get()->vt != VT_I4) return 10;
    text += L"Focus " + std::to_wstring(focus.get()->lVal) + L"\r\n";
    const mivo::UniqueFile file(::CreateFileW(output.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr))
        return 7;
    return object->accDoDefaultAction(Child(cell)) == S_OK ? 0 : 8;
}

}  // namespace

int main() {
    const mivo::ScopedCoInit com;
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv) return 1;
    const int result = argc == 4 ? Probe(static_cast<DWORD>(std::wcstoul(argv[1], nullptr, 10)),
                                         std::wcstol(argv[2], nullptr, 10), argv[3])
                                 : 1;
    ::LocalFree(argv);
    return result;
}
