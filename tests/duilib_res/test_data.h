#pragma once
// Builders for the bytes the resource tests feed in: ZIP archives (shared writer) and PNG
// images, made here with zlib so every test knows exactly what it reads.
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/zip_writer.h"

namespace restest {

using namespace testsupport;  // the ZIP writer

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

// A PNG of already filtered rows (each led by its filter byte) in the given pixel format.
inline Bytes PngFromRows(uint32_t width, uint32_t height, uint8_t depth, uint8_t colourType, const Bytes& raw)
{
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes ihdr;
    for (uint32_t v : {width, height}) for (int i = 3; i >= 0; --i) ihdr.push_back((v >> (8 * i)) & 0xFF);
    ihdr.insert(ihdr.end(), {depth, colourType, 0, 0, 0});  // no interlace
    PngChunk(png, "IHDR", ihdr);
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    Bytes packed(packedSize);
    compress(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()));
    packed.resize(packedSize);
    PngChunk(png, "IDAT", packed);
    PngChunk(png, "IEND", {});
    return png;
}

// An RGBA PNG from straight (not premultiplied) 0xAARRGGBB pixels, row by row.
inline Bytes MakePng(int width, int height, const std::vector<uint32_t>& argb)
{
    Bytes raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // filter: none
        for (int x = 0; x < width; ++x) {
            uint32_t p = argb[static_cast<size_t>(y) * width + x];
            raw.insert(raw.end(), {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8),
                                   static_cast<uint8_t>(p), static_cast<uint8_t>(p >> 24)});
        }
    }
    return PngFromRows(static_cast<uint32_t>(width), static_cast<uint32_t>(height), 8, 6, raw);
}

// A valid all-black PNG of any size that stays small: 1-bit grey, rows of zeros.
inline Bytes MakeBlankPng(uint32_t width, uint32_t height)
{
    return PngFromRows(width, height, 1, 0, Bytes(static_cast<size_t>(height) * (1 + (width + 7) / 8), 0));
}

} // namespace restest
