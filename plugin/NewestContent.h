#pragma once
// The newest display picture or emoticon: asked from the content server and handed to
// MSN Messenger's content installer. Any failure is raised as mivo::ComError.
#include <windows.h>

namespace mivo::plugin {

// Failures of our own (the answer lacks what we read), in our interface's range.
constexpr HRESULT E_MIVO_NO_ITEM = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0201);
constexpr HRESULT E_MIVO_NO_ITEM_ID = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0202);

void installLatestDisp();
void installLatestEmo();

}  // namespace mivo::plugin
