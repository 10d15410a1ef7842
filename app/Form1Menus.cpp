// The menu bar and the links.
#include "Form1.h"

#include <shellapi.h>

#include "ThumbnailCache.h"
#include "mivo/BuildConfig.h"
#include "mivo/MessageBox.h"
#include "mivo/ScopedHandle.h"

void Form1::OpenPage(const std::wstring& url) {
    // The browser's fate is not ours to check: the result is not examined.
    ::ShellExecuteW(hwnd_, nullptr, url.c_str(), nullptr, L"C:\\", SW_SHOWNORMAL);
}

void Form1::mnuNewDp_Click() { OpenPage(mivo::UploadPageUrl(mivo::ItemKind::Display)); }
void Form1::mnuNewEmo_Click() { OpenPage(mivo::UploadPageUrl(mivo::ItemKind::Emoticon)); }
void Form1::Label1_Click() { OpenPage(mivo::ContentBaseUrl); }
void Form1::Picture1_Click() { OpenPage(mivo::HomePageUrl); }
void Form1::PictureEmo1_Click() { OpenPage(mivo::HomePageUrl); }
void Form1::mnuExit_Click() { Unload(); }

void Form1::mnuTempClear_Click() {
    const int answer = mivo::ShowMessageBox(hwnd_,
                                            L"Are you sure you want to clear the temporary files folder of Mvio. "
                                            L"Temporary files speed up the program.",
                                            L"Mivo", MB_YESNO);
    if (answer != IDYES) return;
    // Files only: the folder itself and anything below it stay.
    const std::wstring folder = xmlRequests::CacheFolder();
    WIN32_FIND_DATAW data;
    mivo::UniqueFind find(::FindFirstFileW((folder + L"*.*").c_str(), &data));
    if (!find) return;  // a missing or empty folder: nothing to clear
    bool allDeleted = true;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (!::DeleteFileW((folder + data.cFileName).c_str())) allDeleted = false;
    } while (::FindNextFileW(find.get(), &data));
    if (!allDeleted) {
        mivo::ShowMessageBox(hwnd_,
                             L"Some temporary files could not be deleted. Close the programs that use them "
                             L"and try again.",
                             L"Mivo", MB_OK | MB_ICONEXCLAMATION);
    }
}
