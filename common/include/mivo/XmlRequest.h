#pragma once
// The request mechanics of the content server on Microsoft XML: a synchronous POST with no
// body, the answer text parsed by a fresh DOM document, elements selected by path.
#include <windows.h>
#include <msxml2.h>
#include <wrl/client.h>

#include <optional>
#include <string>

namespace mivo {

using Microsoft::WRL::ComPtr;

// One version of Microsoft XML: its request and document classes.
struct Msxml {
    CLSID xmlHttp;
    CLSID domDocument;
};

// The versions this program can use, in the order they are tried: 4.0 where it is installed
// (it was a separate download), else 6.0 and 3.0, which every Windows from XP SP3 on has.
extern const Msxml kMsxml40, kMsxml60, kMsxml30;

// The request object of the first version that can be created; throws ComError when none can.
ComPtr<IXMLHTTPRequest> CreateXmlHttp();

// POSTs to url (synchronous, no header, no body) and returns the answer text.
// HTTP status and headers are not examined. Transport failures throw ComError.
std::wstring PostForText(IXMLHTTPRequest* request, const std::wstring& url);

// Parses text with a fresh DOM document (of the given version, else the first one that can
// be created) and selects the nodes at path with XPath. The document never resolves external
// entities nor processes a DTD: answers come from the network. Text that does not parse
// gives an empty list.
ComPtr<IXMLDOMNodeList> SelectNodesFromText(const std::wstring& text, const wchar_t* path,
                                            const Msxml* version = nullptr);

long NodeCount(IXMLDOMNodeList* nodes);
ComPtr<IXMLDOMNode> NodeAt(IXMLDOMNodeList* nodes, long index);  // null when absent

// Text of the element with all its descendants.
std::wstring NodeText(IXMLDOMNode* node);

// Text of the attribute at position index (document order); nullopt when there is none.
std::optional<std::wstring> AttributeText(IXMLDOMNode* node, long index);

}  // namespace mivo
