// The registered content installer stand-in, used through COM the way the program and the
// plug-in use Messenger's: created by class id, InstallContent, OnContentInstalled events.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <ocidl.h>
#include <olectl.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "InstallerTestbed.h"
#include "MessengerContentInstaller.h"
#include "TestServer.h"
#include "TestSupport.h"
#include "mivo/ComObject.h"
#include "mivo/ComSupport.h"

namespace {

using Microsoft::WRL::ComPtr;
using mivo::Bstr;
using namespace mivo::test;

const std::wstring kBase = L"" MIVO_CONTENT_BASE_URL;

// An event sink that records the result codes it is given.
class ResultSink final
    : public mivo::ComObject<mivo::Answers<IDispatch, IID_IUnknown, IID_IDispatch, DIID_DMessengerContentInstallerEvents>> {
public:
    std::vector<LONG> results;
    std::vector<DISPID> ids;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        ids.push_back(id);
        const bool oneLong = params->cArgs == 1 && params->rgvarg[0].vt == VT_I4;
        results.push_back(oneLong ? params->rgvarg[0].lVal : -999);
        return S_OK;
    }
};

class ContentInstallerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearInstallerKnobs();
        ClearInstallerLog();
    }
    void TearDown() override { ClearInstallerKnobs(); }

    static ComPtr<IMessengerContentInstaller> Create() {
        ComPtr<IMessengerContentInstaller> installer;
        EXPECT_EQ(CoCreateInstance(CLSID_MessengerContentInstaller, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IMessengerContentInstaller, &installer),
                  S_OK);
        return installer;
    }

    // The default source interface, found as a client finds it: through the class information.
    static ComPtr<ITypeInfo> SourceInterface(IUnknown* installer) {
        ComPtr<IProvideClassInfo> classInfo;
        ComPtr<ITypeInfo> coclass;
        if (FAILED(installer->QueryInterface(IID_PPV_ARGS(&classInfo))) || FAILED(classInfo->GetClassInfo(&coclass)))
            return nullptr;
        INT flags = 0;
        for (UINT i = 0; SUCCEEDED(coclass->GetImplTypeFlags(i, &flags)); ++i) {
            HREFTYPE ref = 0;
            ComPtr<ITypeInfo> info;
            if (flags == (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE) &&
                SUCCEEDED(coclass->GetRefTypeOfImplType(i, &ref)) && SUCCEEDED(coclass->GetRefTypeInfo(ref, &info)))
                return info;
        }
        return nullptr;
    }

    static ComPtr<IConnectionPoint> Connect(IUnknown* installer, IDispatch* sink, DWORD* cookie) {
        const ComPtr<ITypeInfo> source = SourceInterface(installer);
        TYPEATTR* attr = nullptr;
        ComPtr<IConnectionPointContainer> container;
        ComPtr<IConnectionPoint> point;
        if (!source || FAILED(source->GetTypeAttr(&attr))) return nullptr;
        const IID iid = attr->guid;
        source->ReleaseTypeAttr(attr);
        EXPECT_TRUE(IsEqualIID(iid, DIID_DMessengerContentInstallerEvents));
        EXPECT_EQ(installer->QueryInterface(IID_PPV_ARGS(&container)), S_OK);
        EXPECT_EQ(container->FindConnectionPoint(iid, &point), S_OK);
        EXPECT_EQ(point->Advise(sink, cookie), S_OK);
        return point;
    }

    static HRESULT Install(IMessengerContentInstaller* installer, const std::wstring& url) {
        return installer->InstallContent(Bstr(url).get());
    }

    // Results are posted before InstallContent returns: dispatching the queue delivers them.
    static void DeliverEvents() { PumpMessages(20); }

    TestServer server;
};

TEST_F(ContentInstallerTest, InstallsThePackageAndReportsOnlyWhenMessagesAreDispatched) {
    ComPtr<IMessengerContentInstaller> installer = Create();
    const ComPtr<ResultSink> sink = mivo::Make<ResultSink>();
    DWORD cookie = 0;
    ComPtr<IConnectionPoint> point = Connect(installer.Get(), sink.Get(), &cookie);
    const std::wstring url = kBase + L"/cabs/cabdp101.cab";

    ASSERT_EQ(Install(installer.Get(), url), S_OK);
    EXPECT_TRUE(sink->results.empty()) << "the event must not fire inside the call";
    EXPECT_THAT(ReadInstallerLog(), ::testing::ElementsAre(InstallerLogLine{L"0", url}));
    EXPECT_EQ(ReadFileBytes(InstalledPackagePath(L"cabdp101.cab")),
              ReadFileBytes(SourceDir() + L"\\testbed\\catalogue\\cabs\\cabdp101.cab"));
    const std::vector<LoggedRequest> requests = server.Log();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].path, "/cabs/cabdp101.cab");

    DeliverEvents();
    EXPECT_THAT(sink->results, ::testing::ElementsAre(0));
    // The event goes out under the id the type library gives OnContentInstalled.
    wchar_t name[] = L"OnContentInstalled";
    LPOLESTR names[] = {name};
    DISPID id = DISPID_UNKNOWN;
    ASSERT_EQ(SourceInterface(installer.Get())->GetIDsOfNames(names, 1, &id), S_OK);
    EXPECT_THAT(sink->ids, ::testing::ElementsAre(id));
    EXPECT_EQ(point->Unadvise(cookie), S_OK);
}

TEST_F(ContentInstallerTest, ResultCodesTellFailedDownloadsAndNonCabinetsApart) {
    ComPtr<IMessengerContentInstaller> installer = Create();
    const ComPtr<ResultSink> sink = mivo::Make<ResultSink>();
    DWORD cookie = 0;
    ComPtr<IConnectionPoint> point = Connect(installer.Get(), sink.Get(), &cookie);
    server.Override("/cabs/cabdp998.cab", 200, "<html>not a package</html>", "text/html");
    server.OverrideBinary("/cabs/con.cab", 200, ReadFileBytes(SourceDir() + L"\\testbed\\catalogue\\cabs\\cabdp102.cab"),
                          "application/vnd.ms-cab-compressed");

    const std::vector<std::wstring> urls = {kBase + L"/cabs/cabdp999.cab", kBase + L"/cabs/cabdp998.cab",
                                            kBase + L"/cabs/con.cab", kBase + L"/cabs/cabdp102.cab?v=2#top",
                                            kBase + L"/cabs/cabdp103.cab\r\n"};
    for (const std::wstring& url : urls) EXPECT_EQ(Install(installer.Get(), url), S_OK) << url.c_str();
    server.Stop();
    EXPECT_EQ(Install(installer.Get(), kBase + L"/cabs/cabdp104.cab"), S_OK);
    server.Start();
    SetInstallerKnob(L"EventResult", static_cast<DWORD>(-5));
    EXPECT_EQ(Install(installer.Get(), kBase + L"/cabs/cabdp105.cab"), S_OK);

    DeliverEvents();
    // 404: download failed; HTML: not a cabinet; the overriding event result last.
    EXPECT_THAT(sink->results, ::testing::ElementsAre(1, 2, 0, 0, ::testing::_, 1, -5));
    const std::vector<InstallerLogLine> log = ReadInstallerLog();
    ASSERT_EQ(log.size(), 7u);
    EXPECT_EQ(log[0], (InstallerLogLine{L"1", urls[0]}));
    EXPECT_EQ(log[1], (InstallerLogLine{L"2", urls[1]}));
    EXPECT_EQ(log[4].url, kBase + L"/cabs/cabdp103.cab%0D%0A") << "one line per call";
    EXPECT_EQ(log[6], (InstallerLogLine{L"0", kBase + L"/cabs/cabdp105.cab"}));
    // Stored under safe names: no device name, no query.
    EXPECT_TRUE(FileExists(InstalledPackagePath(L"_con.cab")));
    EXPECT_TRUE(FileExists(InstalledPackagePath(L"cabdp102.cab")));
    EXPECT_FALSE(FileExists(InstalledPackagePath(L"cabdp998.cab")));
}

TEST_F(ContentInstallerTest, EventsGoToEveryConnectedSinkUntilUnadvisedOrReleased) {
    ComPtr<IMessengerContentInstaller> installer = Create();
    const ComPtr<ResultSink> first = mivo::Make<ResultSink>(), second = mivo::Make<ResultSink>();
    DWORD firstCookie = 0, secondCookie = 0;
    ComPtr<IConnectionPoint> point = Connect(installer.Get(), first.Get(), &firstCookie);
    Connect(installer.Get(), second.Get(), &secondCookie);
    EXPECT_NE(firstCookie, secondCookie);

    ASSERT_EQ(Install(installer.Get(), kBase + L"/cabs/cabdp101.cab"), S_OK);
    DeliverEvents();
    ASSERT_EQ(point->Unadvise(firstCookie), S_OK);
    EXPECT_EQ(point->Unadvise(firstCookie), CONNECT_E_NOCONNECTION);
    ASSERT_EQ(Install(installer.Get(), kBase + L"/cabs/cabdp999.cab"), S_OK);
    DeliverEvents();
    EXPECT_THAT(first->results, ::testing::ElementsAre(0));
    EXPECT_THAT(second->results, ::testing::ElementsAre(0, 1));

    // Released with an event still queued: the event is dropped with the installer.
    ASSERT_EQ(Install(installer.Get(), kBase + L"/cabs/cabdp101.cab"), S_OK);
    point.Reset();
    installer.Reset();
    DeliverEvents();
    EXPECT_THAT(second->results, ::testing::ElementsAre(0, 1));
}

}  // namespace
