// The program's side of the bench: the real main window in-process, one operation timed per
// run. Modes: startup | click | cached | cached-emo | select <category> | cold | soak <count>.
// Category 1 holds 730 display pictures, 2 holds 8, 3 holds 8 others; emoticon category 6
// holds 1,192 emoticons (see scripts/bench.sh).
#include <windows.h>
#include <psapi.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "BenchClock.h"
#include "Form1.h"
#include "ThumbnailCache.h"
#include "xmlRequests.h"
#include "mivo/ComSupport.h"

namespace {

std::unique_ptr<Form1> StartForm() {
    auto form = std::make_unique<Form1>();
    if (!form->Show()) {
        std::fprintf(stderr, "start-up failed\n");
        std::exit(2);
    }
    bench::Pump();
    return form;
}

void EmptyCache() {
    const std::wstring folder = xmlRequests::CacheFolder();
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"display*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ::DeleteFileW((folder + data.cFileName).c_str());
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
}

// A category loaded and its thumbnails fetched, so every file is in the cache.
void FetchThumbnails(Form1& form) {
    xmlRequests::fetchDispThumbs(form.catalogue, [&form](const std::wstring& key, mivo::gdip::UniqueImage fresh) {
        form.lstDispViewOnPaint(key, std::move(fresh));
    });
}

void FetchEmoticonThumbnails(Form1& form) {
    xmlRequests::fetchEmoThumbs(form.catalogue, [&form](const std::wstring& key, mivo::gdip::UniqueImage fresh) {
        form.lstEmoViewOnPaint(key, std::move(fresh));
    });
}

// The emoticon tab, chosen with the mouse.
void ShowEmoticons(Form1& form) {
    RECT rc{};
    TabCtrl_GetItemRect(form.SSTab1, 1, &rc);
    const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    ::SendMessageW(form.SSTab1, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(form.SSTab1, WM_LBUTTONUP, 0, at);
    bench::Pump();
}

void LoadWithThumbnails(Form1& form, std::int16_t category) {
    xmlRequests::loadDispItems(form.catalogue, category);
    FetchThumbnails(form);
    bench::Pump();
}

// Committed private memory (the page-file usage of the basic counters, which Wine fills).
SIZE_T PrivateBytes() {
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &pmc, sizeof pmc);
    return pmc.PagefileUsage;
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND hwnd, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    ::EnumChildWindows(hwnd, CountChild, count);
    return TRUE;
}

int CountThreadWindows() {
    int n = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountTopLevel, reinterpret_cast<LPARAM>(&n));
    return n;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    mivo::ScopedCoInit com;
    if (mode == "startup") {
        auto form = StartForm();
        return bench::Report(bench::SinceProcessStartMs());
    }
    auto form = StartForm();
    if (mode == "click") {
        xmlRequests::loadDispItems(form->catalogue, 1);  // warm: the first request opens the connection machinery
        bench::Pump();
        const double t0 = bench::NowMs();
        xmlRequests::loadDispItems(form->catalogue, 1);
        return bench::Report(bench::NowMs() - t0);
    }
    if (mode == "cached") {
        LoadWithThumbnails(*form, 1);
        xmlRequests::loadDispItems(form->catalogue, 1);
        bench::Pump();
        const double t0 = bench::NowMs();
        FetchThumbnails(*form);
        return bench::Report(bench::NowMs() - t0);
    }
    if (mode == "cached-emo") {
        ShowEmoticons(*form);
        xmlRequests::loadEmoItems(form->catalogue, 6);
        FetchEmoticonThumbnails(*form);
        bench::Pump();
        xmlRequests::loadEmoItems(form->catalogue, 6);
        bench::Pump();
        const double t0 = bench::NowMs();
        FetchEmoticonThumbnails(*form);
        return bench::Report(bench::NowMs() - t0);
    }
    if (mode == "select") {
        const auto category = static_cast<std::int16_t>(argc > 2 ? std::atoi(argv[2]) : 1);
        LoadWithThumbnails(*form, category);
        HWND box = form->DisplayList.hWnd();
        const double t0 = bench::NowMs();
        ::SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 30));
        ::SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(30, 30));
        bench::Pump();
        xmlRequests::loadDispItems(form->catalogue, 3);
        return bench::Report(bench::NowMs() - t0);
    }
    if (mode == "cold") {
        xmlRequests::loadDispItems(form->catalogue, 3);  // warm the request machinery
        bench::Pump();
        EmptyCache();
        const double t0 = bench::NowMs();
        LoadWithThumbnails(*form, 1);
        return bench::Report(bench::NowMs() - t0);
    }
    if (mode == "soak") {
        const int count = argc > 2 ? std::atoi(argv[2]) : 1000;
        xmlRequests::loadDispItems(form->catalogue, 1);
        bench::Pump();
        const SIZE_T before = PrivateBytes();
        const int windowsBefore = CountThreadWindows();
        const DWORD gdiBefore = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
        for (int i = 0; i < count; ++i) {
            xmlRequests::loadDispItems(form->catalogue, 1);
            bench::Pump();
        }
        HWND box = form->DisplayList.hWnd();
        for (int i = 0; i < count; ++i) {
            ::InvalidateRect(box, nullptr, TRUE);
            ::UpdateWindow(box);
        }
        bench::Pump();
        const SIZE_T after = PrivateBytes();
        // GDI counts are a stub under Wine (0): the line still says so.
        std::printf("private %+.2f%% (%lu -> %lu KiB), GDI objects %lu -> %lu, windows %d -> %d\n",
                    100.0 * (static_cast<double>(after) - static_cast<double>(before)) / static_cast<double>(before),
                    static_cast<unsigned long>(before / 1024), static_cast<unsigned long>(after / 1024),
                    gdiBefore, ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS), windowsBefore,
                    CountThreadWindows());
        return 0;
    }
    std::fprintf(stderr, "unknown mode\n");
    return 2;
}
