#include "NewestContent.h"

#include <string>

#include "mivo/CatalogueUrls.h"
#include "mivo/ComSupport.h"
#include "mivo/ContentInstaller.h"
#include "mivo/XmlRequest.h"

using Microsoft::WRL::ComPtr;

namespace mivo::plugin {
namespace {

// Each run uses objects of its own, released on every path when they go out of scope.
void InstallLatest(ItemKind kind) {
    ComPtr<IXMLHTTPRequest> request = CreateXmlHttp();
    const std::wstring answer = PostForText(request.Get(), LatestItemUrl(kind));
    ComPtr<IXMLDOMNodeList> nodes = SelectNodesFromText(answer, ItemNodePath(kind));
    ComPtr<IXMLDOMNode> newest = NodeAt(nodes.Get(), 0);
    if (!newest) throw ComError(E_MIVO_NO_ITEM, "The answer of the content server holds no item");
    const auto id = AttributeText(newest.Get(), 0);
    if (!id) throw ComError(E_MIVO_NO_ITEM_ID, "The newest item has no id");
    ComPtr<IMessengerContentInstaller> installer = CreateContentInstaller();
    Install(installer.Get(), PackageUrl(kind, *id));
}

}  // namespace

void installLatestDisp() { InstallLatest(ItemKind::Display); }
void installLatestEmo() { InstallLatest(ItemKind::Emoticon); }

}  // namespace mivo::plugin
