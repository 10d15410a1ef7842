#include "NewestContent.h"

#include <msxml2.h>
#include <wrl/client.h>

#include <string>

#include "PlatformIds.h"
#include "PluginConfig.h"
#include "mivo/ComSupport.h"

using Microsoft::WRL::ComPtr;

namespace mivo::plugin {
namespace {

struct NewestKind {
    const wchar_t* endpoint;
    const wchar_t* nodePath;
    const wchar_t* packagePrefix;
};

const NewestKind kDisp{L"/appgetlatestdisp.php", L"displaypictures/display", L"/cabs/cabdp"};
const NewestKind kEmo{L"/appgetlatestemo.php", L"emoticons/emoticon", L"/cabs/cabemo"};

VARIANT BoolVariant(bool value) {
    VARIANT v;
    ::VariantInit(&v);
    V_VT(&v) = VT_BOOL;
    V_BOOL(&v) = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

// An optional argument left out, as automation callers pass it.
VARIANT MissingVariant() {
    VARIANT v;
    ::VariantInit(&v);
    V_VT(&v) = VT_ERROR;
    V_ERROR(&v) = DISP_E_PARAMNOTFOUND;
    return v;
}

// The answer comes from the network: no DTD, no external entities, no validation. Not
// every parser honours ProhibitDTD (MSXML 4.0 may not know it), so an answer that declares
// a document type is not parsed at all.
void ForbidDtds(IXMLDOMDocument2* document) {
    ThrowIfFailed(document->put_resolveExternals(VARIANT_FALSE), "resolveExternals");
    ThrowIfFailed(document->put_validateOnParse(VARIANT_FALSE), "validateOnParse");
    static_cast<void>(document->setProperty(Bstr(L"ProhibitDTD").get(), BoolVariant(true)));
}

bool DeclaresDocumentType(const Bstr& body) { return body.str().find(L"<!DOCTYPE") != std::wstring::npos; }

void InstallLatest(const NewestKind& kind) {
    const std::wstring base = ContentBaseUrl;

    ComPtr<IXMLHTTPRequest> request;
    ThrowIfFailed(::CoCreateInstance(CLSID_XMLHTTP40_, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLHTTPRequest_,
                                     reinterpret_cast<void**>(request.GetAddressOf())),
                  "Microsoft XML 4.0 (XMLHTTP) could not be created");
    ThrowIfFailed(request->open(Bstr(L"POST").get(), Bstr(base + kind.endpoint).get(), BoolVariant(false),
                                MissingVariant(), MissingVariant()),
                  "The request to the content server could not be opened");
    VARIANT noBody;
    ::VariantInit(&noBody);
    ThrowIfFailed(request->send(noBody), "The content server could not be reached");
    Bstr body;
    ThrowIfFailed(request->get_responseText(body.out()), "The answer of the content server could not be read");

    ComPtr<IXMLDOMDocument2> document;
    ThrowIfFailed(::CoCreateInstance(CLSID_DOMDocument40_, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument2_,
                                     reinterpret_cast<void**>(document.GetAddressOf())),
                  "Microsoft XML 4.0 (DOMDocument) could not be created");
    ForbidDtds(document.Get());
    VARIANT_BOOL parsed = VARIANT_FALSE;  // not looked at: a bad answer simply selects nothing
    if (!DeclaresDocumentType(body))
        ThrowIfFailed(document->loadXML(body.get() ? body.get() : Bstr(L"").get(), &parsed),
                      "The answer of the content server could not be loaded");

    ComPtr<IXMLDOMNodeList> nodes;
    ThrowIfFailed(document->selectNodes(Bstr(kind.nodePath).get(), &nodes), "selectNodes");
    ComPtr<IXMLDOMNode> newest;
    ThrowIfFailed(nodes->get_item(0, &newest), "The answer of the content server holds no item");
    if (!newest) throw ComError(E_MIVO_NO_ITEM, "The answer of the content server holds no item");
    ComPtr<IXMLDOMNamedNodeMap> attributes;
    ThrowIfFailed(newest->get_attributes(&attributes), "The newest item has no id");
    ComPtr<IXMLDOMNode> idAttribute;
    if (attributes) ThrowIfFailed(attributes->get_item(0, &idAttribute), "The newest item has no id");
    if (!idAttribute) throw ComError(E_MIVO_NO_ITEM_ID, "The newest item has no id");
    Bstr id;
    ThrowIfFailed(idAttribute->get_text(id.out()), "The newest item has no id");

    ComPtr<MessengerContentInstaller> installer;
    ThrowIfFailed(::CoCreateInstance(CLSID_MessengerContentInstaller, nullptr, CLSCTX_SERVER,
                                     IID_IMessengerContentInstaller_,
                                     reinterpret_cast<void**>(installer.GetAddressOf())),
                  "The content installer of MSN Messenger could not be created");
    ThrowIfFailed(installer->InstallContent(Bstr(base + kind.packagePrefix + id.str() + L".cab").get()),
                  "The content installer refused the package");
    // installer, document and request are released here, in that order, as on every
    // path that leaves early.
}

}  // namespace

void installLatestDisp() { InstallLatest(kDisp); }
void installLatestEmo() { InstallLatest(kEmo); }

}  // namespace mivo::plugin
