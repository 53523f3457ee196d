#pragma once
// Builders for the bytes the resource tests feed in: ZIP archives (shared writer) and PNG
// images, made here with zlib so every test knows exactly what it reads.
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/zip_writer.h"

namespace restest {

using testsupport::BuildZip;
using testsupport::Bytes;
using testsupport::Put32At;
using testsupport::ZipLayout;
using testsupport::ZipMember;

inline Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

inline void PngChunk(Bytes& png, const char* type, const Bytes& body)
{
    auto be32 = [&](uint32_t v) { for (int i = 3; i >= 0; --i) png.push_back((v >> (8 * i)) & 0xFF); };
    be32(static_cast<uint32_t>(body.size()));
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), body.begin(), body.end());
    // The CRC covers the type and the body.
    const uLong crc = crc32(crc32(0, reinterpret_cast<const Bytef*>(type), 4), body.data(), static_cast<uInt>(body.size()));
    be32(static_cast<uint32_t>(crc));
}

// An RGBA PNG from straight (not premultiplied) 0xAARRGGBB pixels, row by row.
inline Bytes MakePng(int width, int height, const std::vector<uint32_t>& argb)
{
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes ihdr;
    auto be32 = [&](Bytes& b, uint32_t v) { for (int i = 3; i >= 0; --i) b.push_back((v >> (8 * i)) & 0xFF); };
    be32(ihdr, static_cast<uint32_t>(width));
    be32(ihdr, static_cast<uint32_t>(height));
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA, no interlace
    PngChunk(png, "IHDR", ihdr);
    Bytes raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // filter: none
        for (int x = 0; x < width; ++x) {
            uint32_t p = argb[static_cast<size_t>(y) * width + x];
            raw.insert(raw.end(), {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8),
                                   static_cast<uint8_t>(p), static_cast<uint8_t>(p >> 24)});
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    Bytes packed(packedSize);
    compress(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()));
    packed.resize(packedSize);
    PngChunk(png, "IDAT", packed);
    PngChunk(png, "IEND", {});
    return png;
}

} // namespace restest
