// The program against a content server that speaks only TLS: built with an https base URL
// (https://localhost:<TLS port>), the test CA trusted in the prefix's machine root store
// for the length of the suite.
#include <windows.h>
#include <wincrypt.h>

#include "AppFixture.h"
#include "InstallerTestbed.h"
#include "ThumbnailCache.h"
#include "mivo/BuildConfig.h"

namespace mivo::test {
namespace {

using mivo::ItemKind;

std::wstring TestCaFile() {
    std::wstring out = L"Z:";
    for (const char c : std::string(MIVO_TEST_CA_FILE)) out += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return out;
}

struct StoreTraits {
    static HCERTSTORE invalid() noexcept { return nullptr; }
    static void close(HCERTSTORE h) noexcept { ::CertCloseStore(h, 0); }
};

// The registry part of the local machine's root store, where the chain engine finds
// trusted roots. (Wine 8 writes a deletion through the whole system store back to the
// registry only when it is made on this part.)
UniqueResource<HCERTSTORE, StoreTraits> MachineRootStore() {
    return UniqueResource<HCERTSTORE, StoreTraits>(
        ::CertOpenStore(CERT_STORE_PROV_SYSTEM_REGISTRY_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root"));
}

class HttpsTest : public AppTest {
protected:
    // Before any connection of this process: the chain engine reads the store once. The
    // store writes to the registry when it is closed.
    static void SetUpTestSuite() {
        const std::string ca = ReadFileBytes(TestCaFile());
        const auto store = MachineRootStore();
        ASSERT_TRUE(store);
        ASSERT_TRUE(::CertAddEncodedCertificateToStore(store.get(), X509_ASN_ENCODING,
                                                       reinterpret_cast<const BYTE*>(ca.data()),
                                                       static_cast<DWORD>(ca.size()),
                                                       CERT_STORE_ADD_REPLACE_EXISTING, nullptr));
    }
    static void TearDownTestSuite() {
        const std::string ca = ReadFileBytes(TestCaFile());
        const auto store = MachineRootStore();
        PCCERT_CONTEXT wanted = ::CertCreateCertificateContext(
            X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(ca.data()), static_cast<DWORD>(ca.size()));
        if (!store || !wanted) return;
        if (PCCERT_CONTEXT found = ::CertFindCertificateInStore(store.get(), X509_ASN_ENCODING, 0,
                                                               CERT_FIND_EXISTING, wanted, nullptr))
            ::CertDeleteCertificateFromStore(found);  // frees the found context too
        ::CertFreeCertificateContext(wanted);
    }
};

TEST_F(HttpsTest, CataloguesThumbnailsAndPackagesTravelOverTls) {
    ASSERT_EQ(std::wstring(ContentBaseUrl).rfind(L"https://", 0), 0u);
    const std::wstring thumb = xmlRequests::CacheFolder() + L"display102.png";
    ::DeleteFileW(thumb.c_str());

    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Display, 1, DisplayList({{"102", "png", "B"}}));
    EXPECT_EQ(ReadFileBytes(thumb), ReadFileBytes(SourceDir() + L"\\testbed\\catalogue\\thumbs\\dp102.png"));

    ClickGrid(ItemKind::Display, 30, 30);
    ::SendMessageW(form->cmdAddDisp, BM_CLICK, 0, 0);
    PumpMessages(100);  // the completion event is posted: let it arrive
    EXPECT_EQ(ReadInstallerLog(),
              (std::vector<InstallerLogLine>{{L"0", std::wstring(ContentBaseUrl) + L"/cabs/cabdp102.cab"}}));
    ASSERT_FALSE(boxes.shown().empty());
    EXPECT_EQ(boxes.shown().back().text, L"The content has been installed");
    ::DeleteFileW(thumb.c_str());
}

// A certificate that no trusted root vouches for is a request that failed: the start-up
// fails as it does with a server that cannot be reached, and no request gets through.
TEST_F(HttpsTest, AnUntrustedCertificateFailsTheStartUp) {
    TestServer::Control("POST", "/tls", R"({"certificate": "untrusted"})");
    EXPECT_FALSE(StartForm());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].title, L"Critical error");
    EXPECT_TRUE(server.Log().empty());
}

}  // namespace
}  // namespace mivo::test
