#pragma once
// GDI+ flat API for the imaging layer. The layer talks to gdiplus.dll through the flat
// functions only; the C++ wrapper classes of the SDK are not used.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

namespace mivo::gdip {
using namespace Gdiplus;
using namespace Gdiplus::DllExports;
}  // namespace mivo::gdip
