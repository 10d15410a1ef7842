#pragma once
// The plumbing every COM object of ours shares: QueryInterface from a table of interfaces,
// one reference count, Make for a new object held by its owner, and IDispatch answered
// from the type information of a dual interface.
//
//   class Sink final : public ComObject<Answers<IDispatch, IID_IUnknown, IID_IDispatch>> { ... };
//   ComPtr<Sink> sink = Make<Sink>(...);
#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <utility>

namespace mivo {

// One line of an interface table: QueryInterface answers each of `ids` with the object seen
// as I. Exactly one line lists IID_IUnknown: COM wants the same pointer for it whichever
// interface is asked.
template <typename I, const IID&... ids>
struct Answers {
    using Interface = I;
    // The interface pointer when `iid` is one of ids; I has a single line of bases down to
    // IUnknown, so its IUnknown is the pointer a caller gets.
    template <typename Object>
    static IUnknown* Find(Object* object, REFIID iid) noexcept {
        return (::IsEqualIID(iid, ids) || ...) ? static_cast<I*>(object) : nullptr;
    }
};

// QueryInterface from the lines of the table, in their order; AddRef and Release are left
// to the object (ComObject counts them, an object living inside another forwards them).
template <typename... Lines>
class Implements : public Lines::Interface... {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        IUnknown* const found[] = {Lines::Find(this, iid)...};
        for (IUnknown* view : found) {
            if (view) {
                view->AddRef();
                *object = view;
                return S_OK;
            }
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }

protected:
    Implements() = default;
    ~Implements() = default;
    Implements(const Implements&) = delete;
    Implements& operator=(const Implements&) = delete;
};

// An object on the heap that deletes itself with its last reference. It starts with none:
// Make's owner takes the first.
template <typename... Lines>
class ComObject : public Implements<Lines...> {
public:
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = ::InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

protected:
    ComObject() = default;
    // Virtual: Release deletes the whole object, whose own destructor may be private.
    virtual ~ComObject() = default;

private:
    LONG references_ = 0;
};

// A new object, held by the owner returned (its first reference). Throws std::bad_alloc
// and whatever T's constructor throws.
template <typename T, typename... Args>
Microsoft::WRL::ComPtr<T> Make(Args&&... args) {
    return Microsoft::WRL::ComPtr<T>(new T(std::forward<Args>(args)...));
}

// Both halves of a dual interface: callers inspect the dispatch half; ITypeInfo::Invoke
// needs the vtable half to reach the object's methods.
struct DualTypeInfo {
    Microsoft::WRL::ComPtr<ITypeInfo> dispatchView;
    Microsoft::WRL::ComPtr<ITypeInfo> vtableView;
};

// IDispatch of the dual interface I, answered from its type information: names and calls
// as the type library declares them. The object hands over the type information once it
// has it, before any caller can reach it.
template <typename I>
class TypeLibDispatch : public I {
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        if (!info) return E_POINTER;
        *info = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        return typeInfo_.dispatchView.CopyTo(info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (!::IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
        return ::DispGetIDsOfNames(typeInfo_.vtableView.Get(), names, count, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argError) override {
        if (!::IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
        return typeInfo_.vtableView->Invoke(static_cast<I*>(this), id, flags, params, result, exception, argError);
    }

protected:
    TypeLibDispatch() = default;
    ~TypeLibDispatch() = default;
    void UseTypeInfo(DualTypeInfo typeInfo) noexcept { typeInfo_ = std::move(typeInfo); }

private:
    DualTypeInfo typeInfo_;
};

}  // namespace mivo
