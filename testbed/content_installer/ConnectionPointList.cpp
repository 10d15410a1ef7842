#include "ConnectionPointList.h"

#include <new>

namespace mivo::testbed {

HRESULT ConnectionPointList::Create(IConnectionPoint* point, ULONG position, IEnumConnectionPoints** list) {
    if (!list) return E_POINTER;
    try {
        *list = Make<ConnectionPointList>(point, position).Detach();
        return S_OK;
    } catch (const std::bad_alloc&) {
        *list = nullptr;
        return E_OUTOFMEMORY;
    }
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
