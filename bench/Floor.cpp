// Floor programs: only the work that no implementation can avoid, to divide the program's
// figures by. Modes: startup | click | cached | cold (same categories as AppBench.cpp).
#include <windows.h>
#include <urlmon.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "GdiPlus.h"
#include "mivo/BuildConfig.h"
#include "mivo/CatalogueUrls.h"
#include "mivo/ComSupport.h"
#include "mivo/WindowBinding.h"
#include "mivo/XmlRequest.h"

using namespace mivo::gdip;

namespace {

struct Entry {
    std::wstring id, type, title;
};

// The POST and the parse, reading every element's text and both attributes.
std::vector<Entry> Fetch(IXMLHTTPRequest* http, const std::wstring& path, const wchar_t* nodePath) {
    const std::wstring text = mivo::PostForText(http, std::wstring(mivo::ContentBaseUrl) + path);
    auto nodes = mivo::SelectNodesFromText(text, nodePath);
    std::vector<Entry> out;
    const long n = mivo::NodeCount(nodes.Get());
    for (long i = 0; i < n; ++i) {
        auto node = mivo::NodeAt(nodes.Get(), i);
        out.push_back({mivo::AttributeText(node.Get(), 0).value_or(L""), mivo::AttributeText(node.Get(), 1).value_or(L""),
                       mivo::NodeText(node.Get())});
    }
    return out;
}

HWND CreatePlainWindow(int width, int height) {
    WNDCLASSEXW wc{};
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"MivoBenchFloor";
    mivo::RegisterWindowClass(wc);
    HWND hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"floor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, width,
                                  height, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    bench::Pump();
    return hwnd;
}

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path, n);
    return p.substr(0, p.find_last_of(L'\\') + 1);
}

// Load, draw at 64 x 64 and dispose each file, on one graphics object.
void DrawFiles(HWND hwnd, const std::vector<std::wstring>& files) {
    GpGraphics* graphics = nullptr;
    GdipCreateFromHWND(hwnd, &graphics);
    int y = 0;
    for (const std::wstring& file : files) {
        GpImage* image = nullptr;
        if (GdipLoadImageFromFile(file.c_str(), &image) == Ok) {
            GdipDrawImageRectI(graphics, image, 10, y, 64, 64);
            GdipDisposeImage(image);
        }
        y = (y + 90) % 270;
    }
    GdipDeleteGraphics(graphics);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    mivo::ScopedCoInit com;
    auto http = mivo::CreateXmlHttp();
    if (mode == "startup") {
        const auto disp = Fetch(http.Get(), L"/appgetdispcats.php", L"cats/cat");
        const auto emo = Fetch(http.Get(), L"/appgetemocats.php", L"cats/cat");
        HWND hwnd = CreatePlainWindow(600, 470);
        HWND lists[2] = {
            ::CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | LBS_SORT, 10, 10, 100, 300, hwnd, nullptr,
                              nullptr, nullptr),
            ::CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | LBS_SORT, 10, 10, 100, 300, hwnd, nullptr, nullptr,
                              nullptr)};
        for (const Entry& e : disp) ::SendMessageW(lists[0], LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.title.c_str()));
        for (const Entry& e : emo) ::SendMessageW(lists[1], LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.title.c_str()));
        ::UpdateWindow(hwnd);
        bench::Pump();
        return bench::Report(bench::SinceProcessStartMs());
    }
    if (mode == "click") {
        Fetch(http.Get(), L"/appgetdisps.php?id=1", mivo::ItemNodePath(mivo::ItemKind::Display));
        const double t0 = bench::NowMs();
        Fetch(http.Get(), L"/appgetdisps.php?id=1", mivo::ItemNodePath(mivo::ItemKind::Display));
        return bench::Report(bench::NowMs() - t0);
    }
    ULONG_PTR token = 0;
    GdiplusStartupInput input;
    GdiplusStartup(&token, &input, nullptr);
    HWND hwnd = CreatePlainWindow(300, 400);
    // A folder of its own: Wine's file lookups slow down as a folder fills, so sharing the
    // program's cache folder would slow both.
    const std::wstring folder = ProgramFolder() + (mode == "cold" ? L"floorcold\\" : L"floorcache\\");
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const auto items = Fetch(http.Get(), L"/appgetdisps.php?id=1", mivo::ItemNodePath(mivo::ItemKind::Display));
    std::vector<std::wstring> files;
    for (const Entry& e : items) files.push_back(folder + L"display" + e.id + L"." + e.type);
    double ms = -1;
    if (mode == "cached") {
        for (size_t i = 0; i < files.size(); ++i) {
            if (::GetFileAttributesW(files[i].c_str()) == INVALID_FILE_ATTRIBUTES) {
                const std::wstring url = std::wstring(mivo::ContentBaseUrl) + L"/getdisplay.php?emoid=" + items[i].id;
                ::URLDownloadToFileW(nullptr, url.c_str(), files[i].c_str(), 16, nullptr);
            }
        }
        const double t0 = bench::NowMs();
        DrawFiles(hwnd, files);
        ms = bench::NowMs() - t0;
    } else if (mode == "cold") {
        for (const std::wstring& f : files) ::DeleteFileW(f.c_str());
        Fetch(http.Get(), L"/appgetdisps.php?id=3", mivo::ItemNodePath(mivo::ItemKind::Display));
        const double t0 = bench::NowMs();
        const auto listed = Fetch(http.Get(), L"/appgetdisps.php?id=1", mivo::ItemNodePath(mivo::ItemKind::Display));
        for (size_t i = 0; i < listed.size(); ++i) {
            const std::wstring url = std::wstring(mivo::ContentBaseUrl) + L"/getdisplay.php?emoid=" + listed[i].id;
            ::URLDownloadToFileW(nullptr, url.c_str(), files[i].c_str(), 16, nullptr);
            DrawFiles(hwnd, {files[i]});
            bench::Pump();
        }
        ms = bench::NowMs() - t0;
    }
    ::DestroyWindow(hwnd);
    GdiplusShutdown(token);
    if (ms < 0) {
        std::fprintf(stderr, "unknown mode\n");
        return 2;
    }
    return bench::Report(ms);
}
