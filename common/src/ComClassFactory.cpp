#include <new>

#include "mivo/ComBoundary.h"
#include "mivo/ComModule.h"
#include "mivo/ComObject.h"
#include "mivo/ComServer.h"

namespace mivo {
namespace {

class ClassFactory final : public ComObject<Answers<IClassFactory, IID_IUnknown, IID_IClassFactory>> {
public:
    explicit ClassFactory(const ComClass& cls) noexcept : cls_(cls) {}

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        return ComBoundary(cls_.iid, cls_.progId, [&] { return cls_.create(iid, object); });
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock) LockModule();
        else UnlockModule();
        return S_OK;
    }

private:
    ~ClassFactory() override = default;
    const ComClass& cls_;
    ModuleLock moduleLock_;
};

}  // namespace

HRESULT GetComClassObject(const ComClass& cls, REFCLSID clsid, REFIID iid, void** object) noexcept {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!::IsEqualCLSID(clsid, cls.clsid)) return CLASS_E_CLASSNOTAVAILABLE;
    try {
        return Make<ClassFactory>(cls).CopyTo(iid, object);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT CanUnloadComModule() noexcept { return ModuleLockCount() == 0 ? S_OK : S_FALSE; }

}  // namespace mivo
