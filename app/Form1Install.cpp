// Installing the chosen item through MSN Messenger's content installer.
#include "Form1.h"

#include "xmlRequests.h"
#include "mivo/ComSupport.h"
#include "mivo/MessageBox.h"

using namespace xmlRequests;
using mivo::ItemKind;

void Form1::cmdAddDisp_Click() { InstallSelected(ItemKind::Display); }
void Form1::cmdAddEmoticon_Click() { InstallSelected(ItemKind::Emoticon); }

void Form1::InstallSelected(ItemKind kind) {
    // The collection only ever holds the visible tab's list, so the kind is the button's.
    const long count = catalogue.listItems.Count();
    for (long i = 1; i <= count; ++i) {
        const std::shared_ptr<cListItem> item = catalogue.listItems.Item(i);
        if (item->selected) InstallPackage(kind, item->id);
    }
}

void Form1::InstallPackage(ItemKind kind, const std::wstring& id) {
    try {
        if (!installer) throw mivo::ComError(E_POINTER, "no content installer");
        mivo::Install(installer.Get(), mivo::PackageUrl(kind, id));
    } catch (const mivo::ComError&) {
        mivo::ShowMessageBox(hwnd_,
                             L"The content could not be handed to MSN Messenger. Make sure MSN Messenger 7 is "
                             L"installed and try again.",
                             L"Mivo", MB_OK | MB_ICONEXCLAMATION);
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
