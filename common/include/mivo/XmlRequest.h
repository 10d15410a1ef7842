#pragma once
// The request mechanics of the content server on MSXML 4.0: a synchronous POST with no
// body, the answer text parsed by a fresh DOM document, elements selected by path.
#include <windows.h>
#include <msxml2.h>
#include <wrl/client.h>

#include <optional>
#include <string>

namespace mivo {

using Microsoft::WRL::ComPtr;

// XMLHTTP 4.0 request object; throws ComError when MSXML 4.0 is not there.
ComPtr<IXMLHTTPRequest> CreateXmlHttp();

// POSTs to url (synchronous, no header, no body) and returns the answer text.
// HTTP status and headers are not examined. Transport failures throw ComError.
std::wstring PostForText(IXMLHTTPRequest* request, const std::wstring& url);

// Parses text with a fresh DOMDocument 4.0 and selects the nodes at path. The document
// never resolves external entities nor processes a DTD: answers come from the network.
// Text that does not parse gives an empty list.
ComPtr<IXMLDOMNodeList> SelectNodesFromText(const std::wstring& text, const wchar_t* path);

long NodeCount(IXMLDOMNodeList* nodes);
ComPtr<IXMLDOMNode> NodeAt(IXMLDOMNodeList* nodes, long index);  // null when absent

// Text of the element with all its descendants.
std::wstring NodeText(IXMLDOMNode* node);

// Text of the attribute at position index (document order); nullopt when there is none.
std::optional<std::wstring> AttributeText(IXMLDOMNode* node, long index);

}  // namespace mivo
