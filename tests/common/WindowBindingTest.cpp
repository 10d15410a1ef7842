#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "mivo/ComSupport.h"
#include "mivo/WindowBinding.h"

namespace {

const wchar_t kClassName[] = L"MivoWindowBindingTest";
const UINT kThrow = WM_APP;
const UINT kAnswer = WM_APP + 1;

class Recorder : public mivo::WindowObject {
public:
    std::vector<UINT> seen;

private:
    LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        seen.push_back(message);
        if (message == kThrow) throw std::runtime_error("handler failed");
        if (message == kAnswer) return 42;
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
};

HWND CreateRecorded(Recorder& recorder) {
    WNDCLASSEXW wc{};
    wc.lpszClassName = kClassName;
    mivo::RegisterWindowClass(wc);
    return mivo::CreateBoundWindow(recorder, 0, kClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                   nullptr);
}

// Bound at creation, the object also sees the messages of creation, and nothing after
// WM_NCDESTROY; a handler that throws is caught, counted, and the window goes on.
TEST(WindowBinding, TheObjectSeesCreationToDestructionAndItsFailuresAreTrapped) {
    Recorder recorder;
    HWND hwnd = CreateRecorded(recorder);
    ASSERT_GE(recorder.seen.size(), 2u);
    EXPECT_EQ(recorder.seen.front(), static_cast<UINT>(WM_NCCREATE));
    EXPECT_NE(std::find(recorder.seen.begin(), recorder.seen.end(), static_cast<UINT>(WM_CREATE)),
              recorder.seen.end());

    const long before = mivo::TrappedExceptionCount();
    EXPECT_EQ(::SendMessageW(hwnd, kThrow, 0, 0), 0);
    EXPECT_EQ(mivo::TrappedExceptionCount(), before + 1);
    EXPECT_EQ(::SendMessageW(hwnd, kAnswer, 0, 0), 42);

    ASSERT_TRUE(::DestroyWindow(hwnd));
    EXPECT_EQ(recorder.seen.back(), static_cast<UINT>(WM_NCDESTROY));
}

// A class that cannot be registered and a window that cannot be created are errors, not
// a null handle to go on with.
TEST(WindowBinding, FailedRegistrationAndCreationAreReported) {
    WNDCLASSEXW bad{};
    bad.lpszClassName = L"MivoWindowBindingTestBad";
    bad.cbClsExtra = -1;
    EXPECT_THROW(mivo::RegisterWindowClass(bad), mivo::ComError);

    Recorder recorder;
    EXPECT_THROW(mivo::CreateBoundWindow(recorder, 0, L"MivoWindowBindingTestNoSuchClass", L"", 0, 0, 0, 0, 0,
                                         nullptr, nullptr),
                 mivo::ComError);
}

}  // namespace
