#include "mivo/ComBoundary.h"

#include <wrl/client.h>

#include <string>

#include "mivo/Text.h"

namespace mivo {

void SetComErrorInfo(REFIID iid, const wchar_t* source, const char* description) noexcept {
    try {
        const std::wstring text = FromAnsi(description ? description : "");
        Microsoft::WRL::ComPtr<ICreateErrorInfo> create;
        if (FAILED(::CreateErrorInfo(&create))) return;
        create->SetGUID(iid);
        create->SetSource(const_cast<LPOLESTR>(source));
        create->SetDescription(const_cast<LPOLESTR>(text.c_str()));
        Microsoft::WRL::ComPtr<IErrorInfo> info;
        if (SUCCEEDED(create.As(&info))) ::SetErrorInfo(0, info.Get());
    } catch (...) {
        // Out of memory: the caller still gets the HRESULT.
    }
}

}  // namespace mivo
