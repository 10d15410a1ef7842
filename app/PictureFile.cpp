#include "PictureFile.h"

#include <windows.h>

#include <vector>

#include "mivo/ScopedHandle.h"

namespace mivo {

bool IsThumbnailPicture(const std::wstring& path) {
    constexpr DWORD kNotNormal = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    const UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !::GetFileInformationByHandle(file.get(), &info) || (info.dwFileAttributes & kNotNormal) ||
        info.nFileSizeHigh != 0 || info.nFileSizeLow == 0 || info.nFileSizeLow > kMaxThumbnailBytes)
        return false;
    std::vector<std::uint8_t> bytes(info.nFileSizeLow);
    DWORD read = 0;
    return ::ReadFile(file.get(), bytes.data(), info.nFileSizeLow, &read, nullptr) && read == bytes.size() &&
           CheckPictureHeader(bytes.data(), bytes.size(), kThumbnailLimits) != PictureFormat::None;
}

}  // namespace mivo
