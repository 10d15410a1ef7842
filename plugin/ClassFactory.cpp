#include "ClassFactory.h"

#include "Mivo.h"
#include "Module.h"

namespace mivo::plugin {
namespace {

// One static class object for the life of the library; it keeps the library loaded
// only while the host has it locked.
class MivoClassFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *object = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        return Mivo::Create(riid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock) LockModule();
        else UnlockModule();
        return S_OK;
    }
};

MivoClassFactory classObject;

}  // namespace

HRESULT GetMivoClassObject(REFIID riid, void** object) noexcept { return classObject.QueryInterface(riid, object); }

}  // namespace mivo::plugin
