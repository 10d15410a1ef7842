#include "PictureFile.h"

#include <windows.h>

#include "mivo/ScopedHandle.h"

namespace mivo {

Microsoft::WRL::ComPtr<IStream> OpenThumbnailFile(const std::wstring& path) {
    // Attributes by name and the size from the handle: under Wine, GetFileInformationByHandle
    // asks for the volume too and costs several times a whole read of a thumbnail.
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & kNotNormalFile)) return nullptr;
    const UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return nullptr;
    DWORD high = 0;
    const DWORD size = ::GetFileSize(file.get(), &high);
    if (size == INVALID_FILE_SIZE || high != 0 || size == 0 || size > kMaxThumbnailBytes) return nullptr;
    UniqueGlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, size));
    if (!memory) return nullptr;
    void* bytes = ::GlobalLock(memory.get());
    if (!bytes) return nullptr;
    DWORD read = 0;
    const bool accepted = ::ReadFile(file.get(), bytes, size, &read, nullptr) && read == size &&
                          CheckPictureHeader(static_cast<const std::uint8_t*>(bytes), size, kThumbnailLimits) !=
                              PictureFormat::None;
    ::GlobalUnlock(memory.get());
    Microsoft::WRL::ComPtr<IStream> stream;
    // The stream frees the memory when it goes.
    if (!accepted || FAILED(::CreateStreamOnHGlobal(memory.get(), TRUE, stream.GetAddressOf()))) return nullptr;
    memory.release();
    return stream;
}

gdip::UniqueImage LoadThumbnailImage(const std::wstring& path) {
    const Microsoft::WRL::ComPtr<IStream> stream = OpenThumbnailFile(path);
    Gdiplus::GpImage* image = nullptr;
    if (!stream || Gdiplus::DllExports::GdipLoadImageFromStream(stream.Get(), &image) != Gdiplus::Ok) return {};
    return gdip::UniqueImage(image);
}

}  // namespace mivo
