// testbed_plugin_host: calls a Messenger Plus! plug-in the way the host does. The plug-in
// is created by ProgID; the operation is found with GetIDsOfNames and called with Invoke;
// by-reference strings go as VT_BYREF|VT_BSTR. Prints the result and the by-reference
// values. See plugin/README.md.
#include <windows.h>
#include <oleauto.h>
#include <shellapi.h>
#include <wrl/client.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "mivo/ComSupport.h"
#include "mivo/MessagePump.h"
#include "DispatchCall.h"
#include "mivo/Text.h"

namespace {

enum class Kind { Long, LongRef, String, StringRef, Object };

struct Param {
    const wchar_t* name;
    Kind kind;
};

struct Operation {
    const wchar_t* name;
    std::vector<Param> params;
};

// The host's plug-in interface, as it calls it.
const std::vector<Operation> kOperations = {
    {L"Initialize", {{L"nVersion", Kind::Long}, {L"sUserEmail", Kind::String}, {L"oMessenger", Kind::Object}}},
    {L"Uninitialize", {}},
    {L"Configure", {}},
    {L"GetPublishInfo",
     {{L"sPluginName", Kind::StringRef}, {L"nCommandCount", Kind::LongRef}, {L"nTagCount", Kind::LongRef}}},
    {L"GetPublishCommandInfo",
     {{L"nCommandIdx", Kind::Long}, {L"sName", Kind::StringRef}, {L"sValue", Kind::StringRef},
      {L"sHelp", Kind::StringRef}}},
    {L"GetPublishTagInfo", {{L"nTagIdx", Kind::Long}, {L"sName", Kind::StringRef}, {L"sValue", Kind::StringRef}}},
    {L"ParseCommand",
     {{L"sCommand", Kind::String}, {L"sCommandArg", Kind::String}, {L"oConversationWnd", Kind::Object},
      {L"sResult", Kind::StringRef}}},
    {L"ParseTag", {{L"sTag", Kind::String}, {L"oConversationWnd", Kind::Object}, {L"sResult", Kind::StringRef}}},
    {L"ReceiveNotify",
     {{L"sNotifyCode", Kind::String}, {L"sText", Kind::String}, {L"sContactName", Kind::String},
      {L"oConversationWnd", Kind::Object}, {L"sTextToSend", Kind::StringRef}}},
};

void Print(const std::wstring& text) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                        nullptr, nullptr);
    std::string utf8(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), n, nullptr, nullptr);
    // Straight to the handle: no text-mode line end conversion.
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

std::wstring Describe(const VARIANT& v) {
    switch (V_VT(&v)) {
        case VT_EMPTY: return L"Empty";
        case VT_NULL: return L"Null";
        case VT_BOOL: return V_BOOL(&v) ? L"True" : L"False";
        case VT_I4: return std::to_wstring(V_I4(&v));
        case VT_BSTR: return Quoted(V_BSTR(&v) ? std::wstring(V_BSTR(&v), ::SysStringLen(V_BSTR(&v))) : L"");
        default: return L"(variant type " + std::to_wstring(V_VT(&v)) + L")";
    }
}

std::wstring Hex(HRESULT hr) {
    wchar_t text[16];
    std::swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

void Usage() {
    Print(L"usage: testbed_plugin_host [--progid ID] [--pump MS] [--until-closed] OPERATION [ARGUMENT...]\n"
          L"  Creates the plug-in (default ProgID MivoPluginMsgPlus.Mivo) and calls OPERATION by name.\n"
          L"  One ARGUMENT per parameter, in order; missing ones are \"\" or 0; an object argument is\n"
          L"  ignored (Nothing is passed). By-reference values start as given and are printed after.\n"
          L"  --pump MS       keep dispatching window messages for MS milliseconds after the call\n"
          L"  --until-closed  keep dispatching until this program's windows are all closed\n"
          L"                  (at most MS milliseconds when --pump is given too)\n"
          L"operations:\n");
    for (const Operation& op : kOperations) {
        std::wstring line = L"  " + std::wstring(op.name);
        for (const Param& p : op.params) line += L" " + std::wstring(p.name);
        Print(line + L"\n");
    }
}

BOOL CALLBACK CountVisibleWindow(HWND hwnd, LPARAM count) {
    if (::IsWindowVisible(hwnd)) ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int VisibleWindowsOfThisThread() {
    int count = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountVisibleWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

void PumpMessages(DWORD limitMs, bool untilClosed) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        mivo::DispatchPendingMessages();
        if (untilClosed && VisibleWindowsOfThisThread() == 0) return;
        if (limitMs && ::GetTickCount() - start >= limitMs) return;
        if (!untilClosed && !limitMs) return;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

int Run(const std::vector<std::wstring>& args) {
    std::wstring progId = L"MivoPluginMsgPlus.Mivo";
    DWORD pumpMs = 0;
    bool untilClosed = false;
    size_t i = 0;
    for (; i < args.size() && args[i].rfind(L"--", 0) == 0; ++i) {
        if (args[i] == L"--progid" && i + 1 < args.size()) progId = args[++i];
        else if (args[i] == L"--pump" && i + 1 < args.size()) pumpMs = std::wcstoul(args[++i].c_str(), nullptr, 10);
        else if (args[i] == L"--until-closed") untilClosed = true;
        else return Usage(), 1;
    }
    if (i >= args.size()) return Usage(), 1;
    const Operation* op = nullptr;
    for (const Operation& candidate : kOperations)
        if (mivo::EqualsIgnoreCase(candidate.name, args[i])) op = &candidate;
    if (!op) return Usage(), 1;
    const std::vector<std::wstring> values(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());

    CLSID clsid;
    HRESULT hr = ::CLSIDFromProgID(progId.c_str(), &clsid);
    if (FAILED(hr)) return Print(L"ProgID " + progId + L" is not registered: " + Hex(hr) + L"\n"), 2;
    Microsoft::WRL::ComPtr<IDispatch> plugin;
    hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                            reinterpret_cast<void**>(plugin.GetAddressOf()));
    if (FAILED(hr)) return Print(L"The plug-in could not be created: " + Hex(hr) + L"\n"), 2;

    mivo::Args arguments;
    for (size_t p = 0; p < op->params.size(); ++p) {
        const std::wstring text = p < values.size() ? values[p] : std::wstring();
        switch (op->params[p].kind) {
            case Kind::Long: arguments.Long(std::wcstol(text.c_str(), nullptr, 10)); break;
            case Kind::LongRef: arguments.LongRef(std::wcstol(text.c_str(), nullptr, 10)); break;
            case Kind::String: arguments.String(text); break;
            case Kind::StringRef: arguments.StringRef(text); break;
            case Kind::Object: arguments.Nothing(); break;
        }
    }
    const mivo::Outcome outcome = mivo::Call(plugin.Get(), op->name, arguments);
    if (!outcome.invoked)
        return Print(std::wstring(op->name) + L" is not known to the plug-in: " + Hex(outcome.hr) + L"\n"), 2;
    if (FAILED(outcome.hr)) {
        std::wstring text = std::wstring(op->name) + L" failed: " + Hex(outcome.hr);
        if (outcome.hr == DISP_E_EXCEPTION) {
            text += L" scode " + Hex(outcome.scode);
            if (!outcome.description.empty()) text += L" " + Quoted(outcome.description);
        }
        Print(text + L"\n");
    } else {
        Print(std::wstring(op->name) + L" returned " + Describe(*outcome.result.get()) + L"\n");
    }
    for (size_t p = 0; p < op->params.size(); ++p) {
        if (op->params[p].kind == Kind::StringRef)
            Print(std::wstring(op->params[p].name) + L" = " + Quoted(arguments.StringAt(p)) + L"\n");
        else if (op->params[p].kind == Kind::LongRef)
            Print(std::wstring(op->params[p].name) + L" = " + std::to_wstring(arguments.LongAt(p)) + L"\n");
    }
    if (pumpMs || untilClosed) PumpMessages(pumpMs, untilClosed);
    return FAILED(outcome.hr) ? 3 : 0;
}

}  // namespace

int main() {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv) return 1;
    std::vector<std::wstring> args(argv + 1, argv + argc);
    ::LocalFree(argv);
    mivo::ScopedCoInit com;
    if (FAILED(com.hr())) return 2;
    return Run(args);
}
