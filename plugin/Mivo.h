#pragma once
// Mivo: the plug-in class Messenger Plus! creates. Its default interface carries the
// host's nine plug-in operations; the host calls them by name through IDispatch, which the
// type library drives.
#include <windows.h>
#include <wrl/client.h>

#include "MivoPluginMsgPlus.h"
#include "Module.h"
#include "mivo/ComObject.h"

namespace mivo::plugin {

class Mivo final : public ComObject<Answers<TypeLibDispatch<IMivo>, IID_IUnknown, IID_IDispatch, IID_IMivo>,
                                    Answers<ISupportErrorInfo, IID_ISupportErrorInfo>> {
public:
    static constexpr const wchar_t* ProgId = L"MivoPluginMsgPlus.Mivo";

    // Creates an instance and asks it for `riid`.
    static HRESULT Create(REFIID riid, void** object) noexcept;
    // Made by Create, with the type information of IMivo.
    explicit Mivo(DualTypeInfo typeInfo) noexcept;

    // IMivo: the plug-in operations
    HRESULT STDMETHODCALLTYPE Initialize(long nVersion, BSTR sUserEmail, IDispatch* oMessenger,
                                         VARIANT_BOOL* result) override;
    HRESULT STDMETHODCALLTYPE Uninitialize(VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE Configure(VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE GetPublishInfo(BSTR* sPluginName, long* nCommandCount, long* nTagCount,
                                             VARIANT_BOOL* result) override;
    HRESULT STDMETHODCALLTYPE GetPublishCommandInfo(long nCommandIdx, BSTR* sName, BSTR* sValue, BSTR* sHelp,
                                                    VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE GetPublishTagInfo(long nTagIdx, BSTR* sName, BSTR* sValue, VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE ParseCommand(BSTR sCommand, BSTR sCommandArg, IDispatch* oConversationWnd,
                                           BSTR* sResult, VARIANT_BOOL* result) override;
    HRESULT STDMETHODCALLTYPE ParseTag(BSTR sTag, IDispatch* oConversationWnd, BSTR* sResult,
                                       VARIANT_BOOL* result) override;
    HRESULT STDMETHODCALLTYPE ReceiveNotify(BSTR sNotifyCode, BSTR sText, BSTR sContactName,
                                            IDispatch* oConversationWnd, BSTR* sTextToSend,
                                            VARIANT_BOOL* result) override;

    // ISupportErrorInfo
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override;

private:
    ~Mivo() override = default;

    ModuleLock moduleLock_;
};

}  // namespace mivo::plugin
