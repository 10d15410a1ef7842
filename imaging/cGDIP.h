#pragma once
// The GDI+ session of the process, and the one route through which the imaging objects
// report a failed GDI+ call: the Error event.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

class cGDIP {
public:
    // Receiver of the Error event: status, its text, the reporting class's name.
    using ErrorEvent = std::function<void(long lGdiError, const std::wstring& sErrorDesc,
                                          const std::wstring& sClassName)>;

    cGDIP();   // starts GDI+; a failed start is silent (the token stays 0)
    ~cGDIP();  // shuts GDI+ down if it was started

    cGDIP(const cGDIP&) = delete;
    cGDIP& operator=(const cGDIP&) = delete;

    // Reports a failure: raises Error synchronously, before returning to the caller.
    void Error(long lGdiError, const std::wstring& sClassName);

    // Connects the single receiver of the Error event (empty disconnects).
    void OnError(ErrorEvent handler) { errorEvent_ = std::move(handler); }

    ULONG_PTR token() const { return token_; }

private:
    static std::wstring StatusText(long status);

    ULONG_PTR token_ = 0;
    ErrorEvent errorEvent_;
};

namespace mivo::gdip {

// Records `status` as an imaging object's last error and reports a failure to the session
// the object is linked to, if any. Returns the status.
long CheckStatus(long status, long& curErr, const std::shared_ptr<cGDIP>& gdip,
                 const wchar_t* className);

}  // namespace mivo::gdip
