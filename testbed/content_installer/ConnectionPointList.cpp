#include "ConnectionPointList.h"

#include <new>

namespace mivo::testbed {

HRESULT ConnectionPointList::Create(IConnectionPoint* point, ULONG position, IEnumConnectionPoints** list) {
    if (!list) return E_POINTER;
    *list = new (std::nothrow) ConnectionPointList(point, position);
    return *list ? S_OK : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE ConnectionPointList::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (::IsEqualIID(iid, IID_IUnknown) || ::IsEqualIID(iid, IID_IEnumConnectionPoints)) {
        *object = static_cast<IEnumConnectionPoints*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE ConnectionPointList::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }

ULONG STDMETHODCALLTYPE ConnectionPointList::Release() {
    const LONG refs = ::InterlockedDecrement(&refs_);
    if (refs == 0) delete this;
    return static_cast<ULONG>(refs);
}

HRESULT STDMETHODCALLTYPE ConnectionPointList::Next(ULONG count, IConnectionPoint** points, ULONG* fetched) {
    if (!points || (count != 1 && !fetched)) return E_POINTER;
    ULONG given = 0;
    if (count > 0 && position_ == 0) {
        points[0] = point_.Get();
        points[0]->AddRef();
        position_ = 1;
        given = 1;
    }
    if (fetched) *fetched = given;
    return given == count ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE ConnectionPointList::Skip(ULONG count) {
    if (count == 0) return S_OK;
    const bool skipped = position_ == 0 && count == 1;
    position_ = 1;
    return skipped ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE ConnectionPointList::Reset() {
    position_ = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ConnectionPointList::Clone(IEnumConnectionPoints** copy) {
    return Create(point_.Get(), position_, copy);
}

}  // namespace mivo::testbed
