// Start-up, shutdown, the change of tab and the category clicks.
#include "Form1.h"

#include "ThumbnailCache.h"
#include "xmlRequests.h"
#include "mivo/CatalogueUrls.h"
#include "mivo/MessageBox.h"
#include "mivo/Numbers.h"
#include "mivo/XmlRequest.h"

using namespace xmlRequests;

bool Form1::Form_Load() {
    // One trap for every start-up step: any failure is one message and the end. A window
    // that cannot be created is such a failure too.
    try {
        CreateControls();
        gdip = std::make_shared<cGDIP>();
        gdip->OnError([this](long status, const std::wstring& text, const std::wstring& cls) {
            gdip_Error(status, text, cls);
        });
        catalogue.xmlHttp = mivo::CreateXmlHttp();
        CreateInstaller();
        loadCategories(catalogue, mivo::DisplayCategoriesUrl(), lstDispCats);
        loadCategories(catalogue, mivo::EmoticonCategoriesUrl(), lstEmoCats);
        dispDblClicked = false;
        emoDblClicked = false;
        return true;
    } catch (const std::exception&) {
        mivo::ShowMessageBox(nullptr,
                             L"The program could not be loaded, make sure you have msxml 4 (download it from "
                             L"microsoft) and MSN messenger 7 installed!",
                             L"Critical error", MB_OK | MB_ICONERROR);
        return false;
    }
}

void Form1::Form_Unload(std::int16_t& cancel) {
    if (installCallWaiting_) {
        // Closed from inside an install call that waits for Messenger: the call still uses
        // the installer and the window, so they go once it has returned.
        unloadAfterInstall_ = true;
        cancel = 1;
        return;
    }
    clearCollection(catalogue.itemIds);
    clearCollection(catalogue.listItems);
    catalogue.xmlHttp.Reset();
    ReleaseInstaller();
    gdip.reset();
}

void Form1::CreateInstaller() {
    installer = mivo::CreateContentInstaller();
    try {
        installerEvents_.Connect(installer.Get(), [this](long result) { installer_OnContentInstalled(result); });
    } catch (...) {
        installer.Reset();  // half made: the next install makes it again
        throw;
    }
}

void Form1::ReleaseInstaller() noexcept {
    installerEvents_.Disconnect();
    installer.Reset();
}

void Form1::Command1_Click() { Unload(); }

void Form1::SSTab1_Click(std::int16_t previousTab) {
    clearCollection(catalogue.itemIds);
    clearCollection(catalogue.listItems);
    NotifyListChanged(previousTab == 0 ? mivo::ItemKind::Display : mivo::ItemKind::Emoticon);
}

void Form1::gdip_Error(long /*lGdiError*/, const std::wstring& /*sErrorDesc*/, const std::wstring& /*sClassName*/) {
    // Imaging failures are not shown: a thumbnail that cannot be drawn is simply missing.
}

void Form1::ReportCategoryLoadFailure(const wchar_t* text) {
    mivo::ShowMessageBox(hwnd_, text, L"Mivo", MB_OK | MB_ICONEXCLAMATION);
}

void Form1::lstDispCats_Click() { CategoryClick(mivo::ItemKind::Display); }
void Form1::lstEmoCats_Click() { CategoryClick(mivo::ItemKind::Emoticon); }

void Form1::CategoryClick(mivo::ItemKind kind) {
    const bool display = kind == mivo::ItemKind::Display;
    HWND list = display ? lstDispCats : lstEmoCats;
    const LRESULT index = ::SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (index < 0) return;
    // A failed load leaves the list and the grid as they were; the user is told once, and
    // a category the server numbered beyond what a request can carry is no connection problem.
    std::int16_t id = 0;
    try {
        id = mivo::CheckedInt16(static_cast<long>(::SendMessageW(list, LB_GETITEMDATA, index, 0)));
    } catch (const mivo::OverflowError&) {
        ReportCategoryLoadFailure(L"This category cannot be shown: its number is beyond what Mivo can ask the "
                                  L"server for.");
        return;
    }
    try {
        if (display) {
            loadDispItems(catalogue, id);
        } else {
            loadEmoItems(catalogue, id);
        }
    } catch (const std::exception&) {
        ReportCategoryLoadFailure(L"The items of this category could not be loaded. Please check your internet "
                                  L"connection and try again.");
        return;
    }
    NotifyListChanged(kind);
    if (display) {
        fetchDispThumbs(catalogue, [this](const std::wstring& key, mivo::gdip::UniqueImage fresh) {
            lstDispViewOnPaint(key, std::move(fresh));
        });
    } else {
        fetchEmoThumbs(catalogue, [this](const std::wstring& key, mivo::gdip::UniqueImage fresh) {
            lstEmoViewOnPaint(key, std::move(fresh));
        });
    }
}
