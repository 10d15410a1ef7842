#include <gtest/gtest.h>
#include <ocidl.h>
#include <wrl/client.h>

#include "mivo/ComObject.h"

namespace {

using Microsoft::WRL::ComPtr;

bool destroyed = false;

// Two interfaces: the second line's pointer is not the object's address.
class TwoFaced final : public mivo::ComObject<mivo::Answers<IEnumConnectionPoints, IID_IUnknown,
                                                            IID_IEnumConnectionPoints>,
                                              mivo::Answers<IProvideClassInfo, IID_IProvideClassInfo>> {
public:
    HRESULT STDMETHODCALLTYPE Next(ULONG, IConnectionPoint**, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reset() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo**) override { return E_NOTIMPL; }

private:
    ~TwoFaced() override { destroyed = true; }
};

TEST(ComObject, AnswersItsTableWithOneIdentityAndDiesWithItsLastReference) {
    destroyed = false;
    {
        const ComPtr<TwoFaced> object = mivo::Make<TwoFaced>();
        ComPtr<IUnknown> identity, identityAgain;
        ComPtr<IEnumConnectionPoints> list;
        ComPtr<IProvideClassInfo> info;
        ASSERT_EQ(object->QueryInterface(IID_PPV_ARGS(&identity)), S_OK);
        ASSERT_EQ(object->QueryInterface(IID_PPV_ARGS(&list)), S_OK);
        ASSERT_EQ(object->QueryInterface(IID_PPV_ARGS(&info)), S_OK);
        EXPECT_EQ(list.Get(), static_cast<IEnumConnectionPoints*>(object.Get()));
        EXPECT_EQ(info.Get(), static_cast<IProvideClassInfo*>(object.Get()));
        // Every interface leads back to the same IUnknown.
        ASSERT_EQ(info->QueryInterface(IID_PPV_ARGS(&identityAgain)), S_OK);
        EXPECT_EQ(identityAgain.Get(), identity.Get());

        void* none = &none;
        EXPECT_EQ(object->QueryInterface(IID_IDispatch, &none), E_NOINTERFACE);
        EXPECT_EQ(none, nullptr);
        EXPECT_EQ(object->QueryInterface(IID_IUnknown, nullptr), E_POINTER);

        EXPECT_EQ(info->AddRef(), 6u);  // the owner, the four above, this one
        EXPECT_EQ(info->Release(), 5u);
    }
    EXPECT_TRUE(destroyed);
}

}  // namespace
