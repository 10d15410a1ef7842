#pragma once
// COM helpers: an exception that carries an HRESULT, owners for BSTR and VARIANT,
// and apartment initialisation.
#include <windows.h>
#include <oleauto.h>
#include <stdexcept>
#include <string>
#include <utility>

namespace mivo {

class ComError : public std::runtime_error {
public:
    ComError(HRESULT hr, const std::string& what) : std::runtime_error(what), hr_(hr) {}
    HRESULT hr() const noexcept { return hr_; }

private:
    HRESULT hr_;
};

inline void ThrowIfFailed(HRESULT hr, const char* what) {
    if (FAILED(hr)) throw ComError(hr, what);
}

// The calling thread's last Win32 error as an HRESULT; E_FAIL when the API left none.
inline HRESULT LastErrorHr() noexcept {
    const DWORD error = ::GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

class Bstr {
public:
    Bstr() noexcept = default;
    explicit Bstr(const wchar_t* text) : value_(::SysAllocString(text)) {
        if (text && !value_) throw ComError(E_OUTOFMEMORY, "SysAllocString");
    }
    explicit Bstr(const std::wstring& text)
        : value_(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {
        if (!value_) throw ComError(E_OUTOFMEMORY, "SysAllocStringLen");
    }
    ~Bstr() { ::SysFreeString(value_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& other) noexcept : value_(std::exchange(other.value_, nullptr)) {}
    Bstr& operator=(Bstr&& other) noexcept {
        if (this != &other) {
            ::SysFreeString(value_);
            value_ = std::exchange(other.value_, nullptr);
        }
        return *this;
    }

    BSTR get() const noexcept { return value_; }
    BSTR* out() noexcept {
        ::SysFreeString(value_);
        value_ = nullptr;
        return &value_;
    }
    BSTR release() noexcept { return std::exchange(value_, nullptr); }
    std::wstring str() const { return value_ ? std::wstring(value_, ::SysStringLen(value_)) : std::wstring(); }

private:
    BSTR value_ = nullptr;
};

class Variant {
public:
    Variant() noexcept { ::VariantInit(&v_); }
    ~Variant() { ::VariantClear(&v_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    Variant(Variant&& other) noexcept : v_(other.v_) { ::VariantInit(&other.v_); }
    Variant& operator=(Variant&& other) noexcept {
        if (this != &other) {
            ::VariantClear(&v_);
            v_ = other.v_;
            ::VariantInit(&other.v_);
        }
        return *this;
    }
    VARIANT* get() noexcept { return &v_; }
    const VARIANT* get() const noexcept { return &v_; }
    VARIANT* out() noexcept {
        ::VariantClear(&v_);
        return &v_;
    }

private:
    VARIANT v_;
};

// Initialises COM on this thread for the scope's life (apartment threaded, as the UI needs).
class ScopedCoInit {
public:
    ScopedCoInit() noexcept : hr_(::CoInitialize(nullptr)) {}
    ~ScopedCoInit() { if (SUCCEEDED(hr_)) ::CoUninitialize(); }
    ScopedCoInit(const ScopedCoInit&) = delete;
    ScopedCoInit& operator=(const ScopedCoInit&) = delete;
    HRESULT hr() const noexcept { return hr_; }

private:
    HRESULT hr_;
};

}  // namespace mivo
