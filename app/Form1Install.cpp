// Installing the chosen item through MSN Messenger's content installer.
#include "Form1.h"

#include <vector>

#include "xmlRequests.h"
#include "mivo/ComSupport.h"
#include "mivo/MessageBox.h"

using namespace xmlRequests;
using mivo::ItemKind;

namespace {

// The errors of a call whose object lived in a process that has ended (Messenger quit):
// that object will never answer again.
bool InstallerProcessGone(HRESULT hr) {
    const HRESULT kServerUnavailable = HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE);
    return hr == kServerUnavailable || hr == RPC_E_DISCONNECTED || hr == RPC_E_SERVER_DIED ||
           hr == RPC_E_SERVER_DIED_DNE || hr == CO_E_OBJNOTCONNECTED;
}

// Marks an install call under way for its scope.
class CallWaiting {
public:
    explicit CallWaiting(bool& flag) noexcept : flag_(flag) { flag_ = true; }
    ~CallWaiting() { flag_ = false; }
    CallWaiting(const CallWaiting&) = delete;
    CallWaiting& operator=(const CallWaiting&) = delete;

private:
    bool& flag_;
};

}  // namespace

void Form1::cmdAddDisp_Click() { InstallSelected(ItemKind::Display); }
void Form1::cmdAddEmoticon_Click() { InstallSelected(ItemKind::Emoticon); }

void Form1::InstallSelected(ItemKind kind) {
    // The collection only ever holds the visible tab's list, so the kind is the button's.
    // The ids are taken first: an install call lets the window run, which may load another list.
    std::vector<std::wstring> ids;
    const long count = catalogue.listItems.Count();
    for (long i = 1; i <= count; ++i) {
        const std::shared_ptr<cListItem> item = catalogue.listItems.Item(i);
        if (item->selected) ids.push_back(item->id);
    }
    for (const std::wstring& id : ids) InstallPackage(kind, id);
}

void Form1::InstallPackage(ItemKind kind, const std::wstring& id) {
    // A press or a double click while a call waits would nest a second install inside it:
    // the one under way stands for it.
    if (!hwnd_ || installCallWaiting_) return;
    bool failed = false;
    {
        const CallWaiting waiting(installCallWaiting_);
        try {
            InstallThroughLiveInstaller(mivo::PackageUrl(kind, id));
        } catch (const mivo::ComError&) {
            failed = true;
        }
    }
    if (unloadAfterInstall_) {
        unloadAfterInstall_ = false;
        Unload();
        return;
    }
    if (failed) {
        mivo::ShowMessageBox(hwnd_,
                             L"The content could not be handed to MSN Messenger. Make sure MSN Messenger 7 is "
                             L"installed and try again.",
                             L"Mivo", MB_OK | MB_ICONEXCLAMATION);
    }
}

void Form1::InstallThroughLiveInstaller(const std::wstring& packageUrl) {
    if (!installer) CreateInstaller();  // an earlier attempt to make it anew failed
    try {
        mivo::Install(installer.Get(), packageUrl);
    } catch (const mivo::ComError& error) {
        if (!InstallerProcessGone(error.hr())) throw;
        // Messenger has quit since the installer was made, and COM starts it again for a new
        // one: made as at start-up, and the call made once more. A completion the old one
        // still owed goes with its connection.
        ReleaseInstaller();
        CreateInstaller();
        mivo::Install(installer.Get(), packageUrl);
    }
}

void Form1::DisplayList_DblClick() { dispDblClicked = true; }
void Form1::EmoticonList_DblClick() { emoDblClicked = true; }

void Form1::installDispOnDblClick(const std::wstring& id) {
    if (dispDblClicked) InstallPackage(ItemKind::Display, id);
}

void Form1::installEmoOnDblClick(const std::wstring& id) {
    if (emoDblClicked) InstallPackage(ItemKind::Emoticon, id);
}

void Form1::installer_OnContentInstalled(long result) {
    if (result != 0) return;
    mivo::ShowMessageBox(hwnd_, L"The content has been installed", L"Installation succeeded",
                         MB_OK | MB_ICONINFORMATION);
}
