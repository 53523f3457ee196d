#pragma once
// Where skin files come from: a ZIP archive held in a resource of the module
// (or given in memory), read member by member and inflated with zlib.
#include <windows.h>
#include <cstdint>
#include <memory>
#include <vector>
#include "duilib/UIString.h"

namespace DuiLib {

// An in-memory ZIP archive (stored and deflate members; no encryption).
class CZipArchive {
public:
    // Indexes the central directory; false for anything that is not a sound archive.
    bool Open(std::vector<uint8_t> bytes);
    // Reads one member; the name is matched case-insensitively with '\' and '/' equal.
    // False when absent, corrupt, or its CRC does not match.
    bool Read(const wchar_t* name, std::vector<uint8_t>& out) const;
    bool Contains(const wchar_t* name) const;
    std::vector<CDuiString> Names() const;
    bool IsOpen() const { return m_open; }

private:
    struct Entry { CDuiString key; CDuiString name; uint32_t offset, compressedSize, size, crc; uint16_t method; };
    std::vector<uint8_t> m_bytes;
    std::vector<Entry> m_entries;
    bool m_open = false;
    const Entry* FindEntry(const wchar_t* name) const;
    static bool ReadDirectory(const uint8_t* data, uint64_t dirOffset, uint64_t dirSize, uint64_t count,
                              std::vector<Entry>& entries);
};

// Process-wide skin source used by every window of the library.
class CSkinSource {
public:
    // Loads the archive from resource (type "ZIPRES", id) of the module; cached per id.
    static bool UseResource(HINSTANCE module, UINT resourceId);
    // Replaces the archive by one given in memory (tests, tools). False when it is not an archive.
    static bool UseMemory(std::vector<uint8_t> bytes);
    // Forgets the archive (tests).
    static void Reset();
    // Reads a member: tries folder\file first when folder is not empty, then file at the root.
    static bool ReadFile(const wchar_t* folder, const wchar_t* file, std::vector<uint8_t>& out);
    static bool ReadFile(const wchar_t* path, std::vector<uint8_t>& out) { return ReadFile(L"", path, out); }
    static bool IsLoaded();
};

// A decoded image: premultiplied BGRA, top-down.
struct CImageData {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // premultiplied 0xAARRGGBB
    bool hasAlpha = false;
};

// Decodes PNG/BMP/JPEG bytes with the platform codec (GDI+). Null on failure.
std::shared_ptr<const CImageData> DecodeImage(const void* data, size_t size);

// Process-wide cache of decoded skin images by archive path (case-insensitive, '\' == '/').
class CImageCache {
public:
    // The decoded image, or null when the archive lacks it or it cannot be decoded (remembered).
    static std::shared_ptr<const CImageData> Get(const wchar_t* path);
    static void Clear();
};

} // namespace DuiLib
