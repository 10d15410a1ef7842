#pragma once
// Mivo: the plug-in class Messenger Plus! creates. Its default interface carries the
// host's nine plug-in operations; the host calls them by name through IDispatch.
#include <windows.h>
#include <wrl/client.h>

#include "MivoPluginMsgPlus.h"
#include "Module.h"

namespace mivo::plugin {

class Mivo final : public IMivo, public ISupportErrorInfo {
public:
    static constexpr const wchar_t* ProgId = L"MivoPluginMsgPlus.Mivo";

    // Creates an instance and asks it for `riid`.
    static HRESULT Create(REFIID riid, void** object) noexcept;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch, driven by the type library
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** typeInfo) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

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

    Mivo(const Mivo&) = delete;
    Mivo& operator=(const Mivo&) = delete;

    struct TypeInfos {
        Microsoft::WRL::ComPtr<ITypeInfo> dispatchView;
        Microsoft::WRL::ComPtr<ITypeInfo> vtableView;
    };

private:
    explicit Mivo(TypeInfos typeInfos) noexcept;
    ~Mivo() = default;

    LONG references_ = 1;
    TypeInfos typeInfos_;
    ModuleLock moduleLock_;
};

}  // namespace mivo::plugin
