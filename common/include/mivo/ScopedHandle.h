#pragma once
// One owner type for every Windows handle kind: the release function is a template
// parameter, so each kind gets its own non-copyable, movable owner.
#include <windows.h>
#include <utility>

namespace mivo {

template <typename T, typename Traits>
class UniqueResource {
public:
    UniqueResource() noexcept = default;
    explicit UniqueResource(T value) noexcept : value_(value) {}
    ~UniqueResource() { reset(); }

    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    T get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Traits::invalid(); }
    T release() noexcept { return std::exchange(value_, Traits::invalid()); }
    void reset(T value = Traits::invalid()) noexcept {
        T old = std::exchange(value_, value);
        if (old != Traits::invalid()) Traits::close(old);
    }

private:
    T value_ = Traits::invalid();
};

struct HandleTraits {
    static HANDLE invalid() noexcept { return nullptr; }
    static void close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct FileHandleTraits {
    static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct FindHandleTraits {
    static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) noexcept { ::FindClose(h); }
};
struct GdiObjectTraits {
    static HGDIOBJ invalid() noexcept { return nullptr; }
    static void close(HGDIOBJ h) noexcept { ::DeleteObject(h); }
};
struct WindowTraits {
    static HWND invalid() noexcept { return nullptr; }
    static void close(HWND h) noexcept { ::DestroyWindow(h); }
};
struct RegKeyTraits {
    static HKEY invalid() noexcept { return nullptr; }
    static void close(HKEY h) noexcept { ::RegCloseKey(h); }
};
struct MenuTraits {
    static HMENU invalid() noexcept { return nullptr; }
    static void close(HMENU h) noexcept { ::DestroyMenu(h); }
};
struct GlobalMemoryTraits {
    static HGLOBAL invalid() noexcept { return nullptr; }
    static void close(HGLOBAL h) noexcept { ::GlobalFree(h); }
};

using UniqueHandle = UniqueResource<HANDLE, HandleTraits>;
using UniqueFile = UniqueResource<HANDLE, FileHandleTraits>;
using UniqueFind = UniqueResource<HANDLE, FindHandleTraits>;
using UniqueGdiObject = UniqueResource<HGDIOBJ, GdiObjectTraits>;
using UniqueWindow = UniqueResource<HWND, WindowTraits>;
using UniqueRegKey = UniqueResource<HKEY, RegKeyTraits>;
using UniqueMenu = UniqueResource<HMENU, MenuTraits>;
using UniqueGlobalMemory = UniqueResource<HGLOBAL, GlobalMemoryTraits>;

// A typed GDI object owner (brush, font, bitmap...) that still deletes through DeleteObject.
template <typename H>
class UniqueGdi {
public:
    UniqueGdi() noexcept = default;
    explicit UniqueGdi(H h) noexcept : obj_(h) {}
    H get() const noexcept { return static_cast<H>(obj_.get()); }
    explicit operator bool() const noexcept { return static_cast<bool>(obj_); }
    void reset(H h = nullptr) noexcept { obj_.reset(h); }
    H release() noexcept { return static_cast<H>(obj_.release()); }

private:
    UniqueGdiObject obj_;
};

// Window DC from GetDC, given back with ReleaseDC.
class ScopedGetDC {
public:
    explicit ScopedGetDC(HWND hwnd) noexcept : hwnd_(hwnd), hdc_(::GetDC(hwnd)) {}
    ~ScopedGetDC() { if (hdc_) ::ReleaseDC(hwnd_, hdc_); }
    ScopedGetDC(const ScopedGetDC&) = delete;
    ScopedGetDC& operator=(const ScopedGetDC&) = delete;
    HDC get() const noexcept { return hdc_; }
    explicit operator bool() const noexcept { return hdc_ != nullptr; }

private:
    HWND hwnd_;
    HDC hdc_;
};

// Memory DC from CreateCompatibleDC, given back with DeleteDC.
class ScopedMemoryDC {
public:
    explicit ScopedMemoryDC(HDC reference) noexcept : hdc_(::CreateCompatibleDC(reference)) {}
    ~ScopedMemoryDC() { if (hdc_) ::DeleteDC(hdc_); }
    ScopedMemoryDC(const ScopedMemoryDC&) = delete;
    ScopedMemoryDC& operator=(const ScopedMemoryDC&) = delete;
    HDC get() const noexcept { return hdc_; }
    explicit operator bool() const noexcept { return hdc_ != nullptr; }

private:
    HDC hdc_;
};

// Selects an object into a DC and restores the previous one on scope exit, so a
// selected object is never deleted.
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC hdc, HGDIOBJ obj) noexcept : hdc_(hdc), old_(::SelectObject(hdc, obj)) {}
    ~ScopedSelectObject() { if (old_ && old_ != HGDI_ERROR) ::SelectObject(hdc_, old_); }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

private:
    HDC hdc_;
    HGDIOBJ old_;
};

}  // namespace mivo
