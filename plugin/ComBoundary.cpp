#include "ComBoundary.h"

#include <wrl/client.h>

namespace mivo::plugin {

void SetComErrorInfo(REFIID iid, const std::wstring& description) noexcept {
    Microsoft::WRL::ComPtr<ICreateErrorInfo> create;
    if (FAILED(::CreateErrorInfo(&create))) return;
    create->SetGUID(iid);
    create->SetSource(const_cast<LPOLESTR>(L"MivoPluginMsgPlus.Mivo"));
    create->SetDescription(const_cast<LPOLESTR>(description.c_str()));
    Microsoft::WRL::ComPtr<IErrorInfo> info;
    if (SUCCEEDED(create.As(&info))) ::SetErrorInfo(0, info.Get());
}

}  // namespace mivo::plugin
