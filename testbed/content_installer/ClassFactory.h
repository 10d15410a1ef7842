#pragma once
// The class object of the content installer. Creation can be made to fail like a machine
// without MSN Messenger (the FailCreate knob).
#include <windows.h>
#include <unknwn.h>

namespace mivo::testbed {

class ClassFactory final : public IClassFactory {
public:
    ClassFactory() noexcept;
    ClassFactory(const ClassFactory&) = delete;
    ClassFactory& operator=(const ClassFactory&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    ~ClassFactory();
    LONG refs_ = 1;
};

}  // namespace mivo::testbed
