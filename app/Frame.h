#pragma once
// A frame: a container window with an optional etched border and caption. Its children's
// notifications go on to the top-level window, so the form handles every control alike.
#include <windows.h>

#include <string>

#include "Twips.h"

namespace mivo {

// Throws mivo::ComError when the window cannot be created.
HWND CreateFrame(HWND parent, const PixelRect& rect, const std::wstring& caption, bool border, HFONT font);

}  // namespace mivo
