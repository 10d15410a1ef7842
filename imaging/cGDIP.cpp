#include "cGDIP.h"

#include "GdiPlus.h"

cGDIP::cGDIP() {
    Gdiplus::GdiplusStartupInput input;
    input.GdiplusVersion = 1;
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = FALSE;
    input.SuppressExternalCodecs = FALSE;
    // A failed start is not reported here: every later call fails with its own status.
    if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) token_ = 0;
}

cGDIP::~cGDIP() {
    if (token_ != 0) Gdiplus::GdiplusShutdown(token_);
}

void cGDIP::Error(long lGdiError, const std::wstring& sClassName) {
    const std::wstring sErrorDesc = StatusText(lGdiError);
    if (errorEvent_) errorEvent_(lGdiError, sErrorDesc, sClassName);
}

std::wstring cGDIP::StatusText(long status) {
    static const wchar_t* const texts[] = {
        L"Generic Error",         L"Invalid Parameter",       L"Out Of Memory",
        L"Object Busy",           L"Insufficient Buffer",     L"Not Implemented",
        L"Win32 Error",           L"Wrong State",             L"Aborted",
        L"File Not Found",        L"Value Overflow",          L"Access Denied",
        L"Unknown Image Format",  L"FontFamily Not Found",    L"FontStyle Not Found",
        L"Not TrueType Font",     L"Unsupported Gdiplus Version", L"Gdiplus Not Initialized",
        L"Property Not Found",    L"Property Not Supported",
    };
    if (status >= 1 && status <= 20) return texts[status - 1];
    return L"Unknown GDI+ Error";
}

long mivo::gdip::CheckStatus(long status, long& curErr, const std::shared_ptr<cGDIP>& gdip,
                             const wchar_t* className) {
    curErr = status;
    if (status != 0 && gdip) gdip->Error(status, className);
    return status;
}
