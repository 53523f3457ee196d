#include "avcore/container_check.h"

#include <windows.h>

#include <cstdint>
#include <cstring>

#include "avcore/win_handle.h"

namespace avcore {

namespace {

uint32_t BigEndian32(const uint8_t* p)
{
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

bool ReadAt(HANDLE file, uint64_t offset, uint8_t* buf, DWORD size)
{
    LARGE_INTEGER pos;
    pos.QuadPart = static_cast<LONGLONG>(offset);
    DWORD got = 0;
    return SetFilePointerEx(file, pos, nullptr, FILE_BEGIN) && ReadFile(file, buf, size, &got, nullptr) && got == size;
}

} // namespace

bool LooksLikeAFile(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    return data.nFileSizeHigh != 0 || data.nFileSizeLow != 0;
}

bool IsoIndexPresent(const std::wstring& path)
{
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || file.get() == INVALID_HANDLE_VALUE || !GetFileSizeEx(file.get(), &size)) return true;
    const uint64_t end = static_cast<uint64_t>(size.QuadPart);
    uint64_t offset = 0;
    for (int boxes = 0; offset + 8 <= end && boxes < 4096; ++boxes) {
        uint8_t head[16];
        if (!ReadAt(file.get(), offset, head, 8)) return true;
        uint64_t boxSize = BigEndian32(head);
        if (boxes == 0 && std::memcmp(head + 4, "ftyp", 4) != 0) return true;  // not ISO: not ours to judge
        if (std::memcmp(head + 4, "moov", 4) == 0) return true;
        if (boxSize == 1) {  // 64-bit size follows the type
            if (!ReadAt(file.get(), offset + 8, head + 8, 8)) return false;
            boxSize = (uint64_t{BigEndian32(head + 8)} << 32) | BigEndian32(head + 12);
        } else if (boxSize == 0) {
            return false;  // the last box runs to the end, and it was not the index
        }
        if (boxSize < 8) return false;  // corrupt
        offset += boxSize;
    }
    return false;
}

} // namespace avcore
