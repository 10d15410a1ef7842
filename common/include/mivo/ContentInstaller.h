#pragma once
// MSN Messenger's content installer, as the window uses it: created by class id, one
// install operation taking a package URL, and the completion event OnContentInstalled,
// received through the installer's default source interface like any automation client.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>
#include <wrl/client.h>

#include <functional>
#include <string>

// The installer's dual interface: its first operation after IDispatch's is the install.
struct IMessengerContentInstaller : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE InstallContent(BSTR packageUrl) = 0;
};

namespace mivo {

extern const CLSID CLSID_MessengerContentInstaller;
extern const IID IID_IMessengerContentInstaller;

// Throws ComError when the installer cannot be created (MSN Messenger 7 not installed).
Microsoft::WRL::ComPtr<IMessengerContentInstaller> CreateContentInstaller();

// Hands a package URL to the installer; a failure status throws ComError.
void Install(IMessengerContentInstaller* installer, const std::wstring& packageUrl);

// The event connection to one installer. Events arrive on the thread that connected.
class ContentInstallerEvents {
public:
    ContentInstallerEvents() = default;
    ~ContentInstallerEvents() { Disconnect(); }
    ContentInstallerEvents(const ContentInstallerEvents&) = delete;
    ContentInstallerEvents& operator=(const ContentInstallerEvents&) = delete;

    // Finds the installer's event source and connects; throws ComError when the installer
    // offers no usable connection point.
    void Connect(IUnknown* installer, std::function<void(long result)> onContentInstalled);
    void Disconnect();
    bool Connected() const { return cookie_ != 0; }

private:
    Microsoft::WRL::ComPtr<IConnectionPoint> point_;
    Microsoft::WRL::ComPtr<IUnknown> sink_;
    DWORD cookie_ = 0;
};

}  // namespace mivo
