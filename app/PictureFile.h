#pragma once
// Picture files of the thumbnail cache, read before any decoder opens them.
#include <windows.h>
#include <objidl.h>
#include <wrl/client.h>

#include <string>

#include "GdiplusOwners.h"
#include "PictureHeader.h"

namespace mivo {

// A thumbnail is drawn at 64 x 64, but a server may send a full picture: within the limits any
// real one is accepted, and a thumbnail (decoded once, to check the download, and drawn from
// that decode) still takes well under a second under Wine. Measured there, one decode: a PNG
// or JPEG of 8 MP about 0.2 s; a GIF of 1 MP 0.25 s, of 200 frames of 64 x 64 0.22 s.
inline constexpr unsigned long kMaxThumbnailBytes = 4ul * 1024 * 1024;
inline constexpr PictureLimits kThumbnailLimits{8192, 8ull * 1024 * 1024, 200, 1024ull * 1024};

// Attributes of a file that is no thumbnail whatever its name: a folder, a hidden or system file.
inline constexpr DWORD kNotNormalFile = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// The file's bytes in a memory stream, read once, for a decoder: only a normal file (no
// folder, hidden or system file) of at most kMaxThumbnailBytes whose header
// CheckPictureHeader accepts within kThumbnailLimits; nullptr for anything else.
Microsoft::WRL::ComPtr<IStream> OpenThumbnailFile(const std::wstring& path);

// The picture GDI+ decodes from OpenThumbnailFile's bytes; empty when the file is refused or
// does not decode.
gdip::UniqueImage LoadThumbnailImage(const std::wstring& path);

}  // namespace mivo
