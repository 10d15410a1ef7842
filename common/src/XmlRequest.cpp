#include "mivo/XmlRequest.h"

#include "mivo/ComSupport.h"

namespace mivo {
namespace {

// {88D969C5-F192-11D4-A65F-0040963251E5} and {88D969C0-F192-11D4-A65F-0040963251E5}
const CLSID kXmlHttp40 = {0x88d969c5, 0xf192, 0x11d4, {0xa6, 0x5f, 0x00, 0x40, 0x96, 0x32, 0x51, 0xe5}};
const CLSID kDomDocument40 = {0x88d969c0, 0xf192, 0x11d4, {0xa6, 0x5f, 0x00, 0x40, 0x96, 0x32, 0x51, 0xe5}};
// The toolchain's import libraries do not define the MSXML interface ids.
const IID kIXMLHTTPRequest = {0xed8c108d, 0x4349, 0x11d2, {0x91, 0xa4, 0x00, 0xc0, 0x4f, 0x79, 0x69, 0xe8}};
const IID kIXMLDOMDocument2 = {0x2933bf95, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};

// An omitted optional argument, as automation callers pass it.
VARIANT Missing() {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_ERROR;
    v.scode = DISP_E_PARAMNOTFOUND;
    return v;
}

void SetBoolProperty(IXMLDOMDocument2* doc, const wchar_t* name, bool value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    Bstr bname(name);
    doc->setProperty(bname.get(), v);  // a parser without the property keeps its safe default
}

}  // namespace

ComPtr<IXMLHTTPRequest> CreateXmlHttp() {
    ComPtr<IXMLHTTPRequest> request;
    ThrowIfFailed(::CoCreateInstance(kXmlHttp40, nullptr, CLSCTX_INPROC_SERVER, kIXMLHTTPRequest,
                                     reinterpret_cast<void**>(request.GetAddressOf())),
                  "Microsoft XML 4.0 (XMLHTTP) could not be created");
    return request;
}

std::wstring PostForText(IXMLHTTPRequest* request, const std::wstring& url) {
    Bstr method(L"POST");
    Bstr burl(url);
    VARIANT async;
    VariantInit(&async);
    async.vt = VT_BOOL;
    async.boolVal = VARIANT_FALSE;
    ThrowIfFailed(request->open(method.get(), burl.get(), async, Missing(), Missing()), "The request to the content server could not be opened");
    ThrowIfFailed(request->send(Missing()), "The content server could not be reached");
    Bstr text;
    ThrowIfFailed(request->get_responseText(text.out()), "The answer of the content server could not be read");
    return text.str();
}

ComPtr<IXMLDOMNodeList> SelectNodesFromText(const std::wstring& text, const wchar_t* path) {
    ComPtr<IXMLDOMDocument2> doc;
    ThrowIfFailed(::CoCreateInstance(kDomDocument40, nullptr, CLSCTX_INPROC_SERVER, kIXMLDOMDocument2,
                                     reinterpret_cast<void**>(doc.GetAddressOf())),
                  "Microsoft XML 4.0 (DOMDocument) could not be created");
    doc->put_async(VARIANT_FALSE);
    doc->put_validateOnParse(VARIANT_FALSE);
    doc->put_resolveExternals(VARIANT_FALSE);
    SetBoolProperty(doc.Get(), L"ProhibitDTD", true);
    // The largest real list is about 60 KB. An answer far larger is taken for one that is not
    // well-formed, unparsed: the parser could work for seconds on it while the window waits.
    constexpr size_t kMaxDocumentChars = 4u * 1024 * 1024;
    Bstr btext(text.size() <= kMaxDocumentChars ? text : std::wstring());
    VARIANT_BOOL loaded = VARIANT_FALSE;
    doc->loadXML(btext.get(), &loaded);  // a failed parse leaves an empty document
    // Not every parser honours ProhibitDTD: a document that brought a DTD is not read at all.
    ComPtr<IXMLDOMDocumentType> doctype;
    if (SUCCEEDED(doc->get_doctype(doctype.GetAddressOf())) && doctype) {
        Bstr empty(L"");
        doc->loadXML(empty.get(), &loaded);
    }
    Bstr bpath(path);
    ComPtr<IXMLDOMNodeList> nodes;
    ThrowIfFailed(doc->selectNodes(bpath.get(), nodes.GetAddressOf()), "selectNodes failed");
    return nodes;
}

long NodeCount(IXMLDOMNodeList* nodes) {
    long n = 0;
    ThrowIfFailed(nodes->get_length(&n), "node list length");
    return n;
}

ComPtr<IXMLDOMNode> NodeAt(IXMLDOMNodeList* nodes, long index) {
    ComPtr<IXMLDOMNode> node;
    nodes->get_item(index, node.GetAddressOf());
    return node;
}

std::wstring NodeText(IXMLDOMNode* node) {
    Bstr text;
    ThrowIfFailed(node->get_text(text.out()), "node text");
    return text.str();
}

std::optional<std::wstring> AttributeText(IXMLDOMNode* node, long index) {
    ComPtr<IXMLDOMNamedNodeMap> attributes;
    if (FAILED(node->get_attributes(attributes.GetAddressOf())) || !attributes) return std::nullopt;
    ComPtr<IXMLDOMNode> attribute;
    if (attributes->get_item(index, attribute.GetAddressOf()) != S_OK || !attribute) return std::nullopt;
    return NodeText(attribute.Get());
}

}  // namespace mivo
