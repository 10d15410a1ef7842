// Self-registration: regsvr32 leaves the class, its ProgID and its type library, and /u
// takes them away again.
#include <gtest/gtest.h>

#include "MivoPluginMsgPlus.h"
#include "PluginTestSupport.h"

namespace mivo::test {
namespace {

bool ClassIsRegistered() {
    CLSID clsid;
    if (FAILED(::CLSIDFromProgID(L"MivoPluginMsgPlus.Mivo", &clsid))) return false;
    EXPECT_TRUE(::IsEqualCLSID(clsid, CLSID_Mivo));
    Microsoft::WRL::ComPtr<ITypeLib> library;
    return SUCCEEDED(::LoadRegTypeLib(LIBID_MivoPluginMsgPlus, 1, 0, LOCALE_NEUTRAL, &library));
}

DWORD Regsvr32(const std::wstring& options, const std::wstring& dll) {
    return RunProgram(L"regsvr32.exe " + options + L" \"" + dll + L"\"").exitCode;
}

// Registers the DLL again however the test ends.
class Reregister {
public:
    explicit Reregister(std::wstring dll) : dll_(std::move(dll)) {}
    ~Reregister() { Regsvr32(L"/s", dll_); }

private:
    std::wstring dll_;
};

TEST(Registration, RegisterAndUnregisterLeaveAndRemoveTheClass) {
    const std::wstring dll = RegisteredPluginPath();
    ASSERT_NE(dll.find(L"MivoPluginMsgPlus.dll"), std::wstring::npos) << std::string(dll.begin(), dll.end());
    ASSERT_TRUE(ClassIsRegistered());
    wchar_t model[32] = {};
    DWORD size = sizeof(model);
    EXPECT_EQ(::RegGetValueW(HKEY_CLASSES_ROOT, L"CLSID\\{070204D3-DF6D-47DD-BFA1-6B64FB01F4D8}\\InprocServer32",
                             L"ThreadingModel", RRF_RT_REG_SZ, nullptr, model, &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(model, L"Apartment");

    Reregister restore(dll);
    ASSERT_EQ(Regsvr32(L"/s /u", dll), 0u);
    EXPECT_FALSE(ClassIsRegistered());
    Microsoft::WRL::ComPtr<IDispatch> none;
    EXPECT_EQ(::CoCreateInstance(CLSID_Mivo, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                 reinterpret_cast<void**>(none.GetAddressOf())),
              REGDB_E_CLASSNOTREG);

    ASSERT_EQ(Regsvr32(L"/s", dll), 0u);
    EXPECT_TRUE(ClassIsRegistered());
    EXPECT_EQ(RegisteredPluginPath(), dll);
    Args info;
    info.StringRef(L"").LongRef(0).LongRef(0);
    EXPECT_EQ(Call(CreateRegisteredPlugin().Get(), L"GetPublishInfo", info).hr, S_OK);
}

}  // namespace
}  // namespace mivo::test
