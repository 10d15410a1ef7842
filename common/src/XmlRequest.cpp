#include "mivo/XmlRequest.h"

#include <iterator>

#include "ListBounds.h"
#include "mivo/ComSupport.h"

namespace mivo {
namespace {

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

void SetTextProperty(IXMLDOMDocument2* doc, const wchar_t* name, const wchar_t* value) {
    Bstr bname(name), bvalue(value);
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = bvalue.get();
    doc->setProperty(bname.get(), v);
}

const Msxml* const kVersions[] = {&kMsxml40, &kMsxml60, &kMsxml30};

// Creates the class of the first version that has it, starting with the last one that
// served: a machine without 4.0 does not look for it again at every request.
template <typename I>
ComPtr<I> CreateFirst(CLSID Msxml::*cls, REFIID iid, const char* what) {
    static size_t served = 0;
    HRESULT hr = REGDB_E_CLASSNOTREG;
    for (size_t i = served; i < std::size(kVersions); ++i) {
        ComPtr<I> object;
        hr = ::CoCreateInstance(kVersions[i]->*cls, nullptr, CLSCTX_INPROC_SERVER, iid,
                                reinterpret_cast<void**>(object.GetAddressOf()));
        if (SUCCEEDED(hr)) {
            served = i;
            return object;
        }
    }
    throw ComError(hr, what);
}

}  // namespace

// {88D969C5-F192-11D4-A65F-0040963251E5}, {88D969C0-F192-11D4-A65F-0040963251E5}
const Msxml kMsxml40 = {{0x88d969c5, 0xf192, 0x11d4, {0xa6, 0x5f, 0x00, 0x40, 0x96, 0x32, 0x51, 0xe5}},
                        {0x88d969c0, 0xf192, 0x11d4, {0xa6, 0x5f, 0x00, 0x40, 0x96, 0x32, 0x51, 0xe5}}};
// {88D96A0A-F192-11D4-A65F-0040963251E5}, {88D96A05-F192-11D4-A65F-0040963251E5}
const Msxml kMsxml60 = {{0x88d96a0a, 0xf192, 0x11d4, {0xa6, 0x5f, 0x00, 0x40, 0x96, 0x32, 0x51, 0xe5}},
                        {0x88d96a05, 0xf192, 0x11d4, {0xa6, 0x5f, 0x00, 0x40, 0x96, 0x32, 0x51, 0xe5}}};
// {F5078F35-C551-11D3-89B9-0000F81FE221}, {F5078F32-C551-11D3-89B9-0000F81FE221}
const Msxml kMsxml30 = {{0xf5078f35, 0xc551, 0x11d3, {0x89, 0xb9, 0x00, 0x00, 0xf8, 0x1f, 0xe2, 0x21}},
                        {0xf5078f32, 0xc551, 0x11d3, {0x89, 0xb9, 0x00, 0x00, 0xf8, 0x1f, 0xe2, 0x21}}};

ComPtr<IXMLHTTPRequest> CreateXmlHttp() {
    return CreateFirst<IXMLHTTPRequest>(&Msxml::xmlHttp, kIXMLHTTPRequest,
                                        "Microsoft XML (XMLHTTP) could not be created");
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

ComPtr<IXMLDOMNodeList> SelectNodesFromText(const std::wstring& text, const wchar_t* path, const Msxml* version) {
    ComPtr<IXMLDOMDocument2> doc;
    if (version) {
        ThrowIfFailed(::CoCreateInstance(version->domDocument, nullptr, CLSCTX_INPROC_SERVER, kIXMLDOMDocument2,
                                         reinterpret_cast<void**>(doc.GetAddressOf())),
                      "Microsoft XML (DOMDocument) could not be created");
    } else {
        doc = CreateFirst<IXMLDOMDocument2>(&Msxml::domDocument, kIXMLDOMDocument2,
                                            "Microsoft XML (DOMDocument) could not be created");
    }
    // 3.0 selects with XSLPattern unless told otherwise; 4.0 and 6.0 already use XPath.
    SetTextProperty(doc.Get(), L"SelectionLanguage", L"XPath");
    doc->put_async(VARIANT_FALSE);
    doc->put_validateOnParse(VARIANT_FALSE);
    doc->put_resolveExternals(VARIANT_FALSE);
    SetBoolProperty(doc.Get(), L"ProhibitDTD", true);
    // Markup far beyond any real list is taken for an answer that is not well-formed, unparsed:
    // the parser could work on it for seconds while the window or the host waits.
    Bstr btext(WithinListBounds(text) ? text : std::wstring());
    VARIANT_BOOL loaded = VARIANT_FALSE;
    doc->loadXML(btext.get(), &loaded);  // a failed parse leaves an empty document
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
