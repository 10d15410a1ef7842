#include <new>
#include <optional>

#include "mivo/ComBoundary.h"
#include "mivo/ComModule.h"
#include "mivo/ComObject.h"
#include "mivo/ComServer.h"
#include "ComClassFactory.h"

namespace mivo {
namespace {

class ClassFactory final : public ComObject<Answers<IClassFactory, IID_IUnknown, IID_IClassFactory>> {
public:
    // A DLL's class object keeps the DLL loaded while a client holds it; the one a local
    // server registers with COM must not keep the process alive.
    ClassFactory(const ComClass& cls, bool holdsModule) noexcept : cls_(cls) {
        if (holdsModule) moduleLock_.emplace();
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        // Held across the creation: a local server whose creation made nothing ends here.
        const ModuleLock creating;
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
    std::optional<ModuleLock> moduleLock_;
};

}  // namespace

HRESULT MakeClassFactory(const ComClass& cls, bool holdsModule, REFIID iid, void** object) noexcept {
    try {
        return Make<ClassFactory>(cls, holdsModule).CopyTo(iid, object);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT GetComClassObject(const ComClass& cls, REFCLSID clsid, REFIID iid, void** object) noexcept {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!::IsEqualCLSID(clsid, cls.clsid)) return CLASS_E_CLASSNOTAVAILABLE;
    return MakeClassFactory(cls, true, iid, object);
}

HRESULT CanUnloadComModule() noexcept { return ModuleLockCount() == 0 ? S_OK : S_FALSE; }

}  // namespace mivo
