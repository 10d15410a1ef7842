#pragma once
// The list EnumConnectionPoints hands out: the installer's one connection point.
#include <windows.h>
#include <ocidl.h>
#include <wrl/client.h>

#include "mivo/ComObject.h"

namespace mivo::testbed {

class ConnectionPointList final
    : public ComObject<Answers<IEnumConnectionPoints, IID_IUnknown, IID_IEnumConnectionPoints>> {
public:
    // A new list positioned before `position` entries have been read.
    static HRESULT Create(IConnectionPoint* point, ULONG position, IEnumConnectionPoints** list);
    // Made by Create.
    ConnectionPointList(IConnectionPoint* point, ULONG position) noexcept : point_(point), position_(position) {}

    HRESULT STDMETHODCALLTYPE Next(ULONG count, IConnectionPoint** points, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints** copy) override;

private:
    ~ConnectionPointList() override = default;

    Microsoft::WRL::ComPtr<IConnectionPoint> point_;  // keeps the installer alive
    ULONG position_;                                  // 0 before the point, 1 after it
};

}  // namespace mivo::testbed
