#pragma once
// Builders for the bytes the resource tests feed in: ZIP archives and PNG images,
// made here with zlib so every test knows exactly what it reads.
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace restest {

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& b, uint32_t v) { b.push_back(v & 0xFF); b.push_back((v >> 8) & 0xFF); }
inline void Put32(Bytes& b, uint32_t v) { Put16(b, v & 0xFFFF); Put16(b, v >> 16); }
inline void Put32At(Bytes& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// Raw deflate (no zlib header), as ZIP stores it.
inline Bytes Deflate(const Bytes& in)
{
    z_stream zs{};
    deflateInit2(&zs, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    Bytes out(deflateBound(&zs, static_cast<uLong>(in.size())) + 16);
    zs.next_in = const_cast<Bytef*>(in.data());
    zs.avail_in = static_cast<uInt>(in.size());
    zs.next_out = out.data();
    zs.avail_out = static_cast<uInt>(out.size());
    deflate(&zs, Z_FINISH);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

inline uint32_t Crc(const Bytes& data)
{
    return static_cast<uint32_t>(crc32(crc32(0, Z_NULL, 0), data.data(), static_cast<uInt>(data.size())));
}

struct ZipMember {
    std::string name;      // UTF-8
    Bytes data;
    bool deflate = true;
    // Corruptions a test may ask for.
    int crcDelta = 0;       // added to the recorded CRC
    int64_t sizeDelta = 0;  // added to the recorded uncompressed size (central directory)
    int64_t packedDelta = 0;  // added to the recorded compressed size (central directory)
    bool dataDescriptor = false;  // zero sizes in the local header, as streaming writers do
};

struct ZipLayout {
    Bytes bytes;
    size_t centralOffset = 0;
    std::vector<size_t> localOffsets;
};

inline ZipLayout BuildZip(const std::vector<ZipMember>& members, const std::string& comment = "")
{
    ZipLayout z;
    struct Central { uint32_t crc, packed, size, offset; uint16_t method, flags; const ZipMember* m; };
    std::vector<Central> central;
    for (const ZipMember& m : members) {
        Bytes packed = m.deflate ? Deflate(m.data) : m.data;
        Central c{static_cast<uint32_t>(Crc(m.data) + m.crcDelta),
                  static_cast<uint32_t>(packed.size() + m.packedDelta),
                  static_cast<uint32_t>(m.data.size() + m.sizeDelta),
                  static_cast<uint32_t>(z.bytes.size()),
                  static_cast<uint16_t>(m.deflate ? 8 : 0),
                  static_cast<uint16_t>(0x0800 | (m.dataDescriptor ? 0x0008 : 0)), &m};
        z.localOffsets.push_back(z.bytes.size());
        Put32(z.bytes, 0x04034b50);
        Put16(z.bytes, 20);
        Put16(z.bytes, c.flags);
        Put16(z.bytes, c.method);
        Put32(z.bytes, 0);  // time and date
        Put32(z.bytes, m.dataDescriptor ? 0 : c.crc);
        Put32(z.bytes, m.dataDescriptor ? 0 : c.packed);
        Put32(z.bytes, m.dataDescriptor ? 0 : c.size);
        Put16(z.bytes, static_cast<uint32_t>(m.name.size()));
        Put16(z.bytes, 0);
        z.bytes.insert(z.bytes.end(), m.name.begin(), m.name.end());
        z.bytes.insert(z.bytes.end(), packed.begin(), packed.end());
        if (m.dataDescriptor) {
            Put32(z.bytes, 0x08074b50);
            Put32(z.bytes, c.crc);
            Put32(z.bytes, c.packed);
            Put32(z.bytes, c.size);
        }
        central.push_back(c);
    }
    z.centralOffset = z.bytes.size();
    for (const Central& c : central) {
        Put32(z.bytes, 0x02014b50);
        Put16(z.bytes, 20);
        Put16(z.bytes, 20);
        Put16(z.bytes, c.flags);
        Put16(z.bytes, c.method);
        Put32(z.bytes, 0);
        Put32(z.bytes, c.crc);
        Put32(z.bytes, c.packed);
        Put32(z.bytes, c.size);
        Put16(z.bytes, static_cast<uint32_t>(c.m->name.size()));
        Put16(z.bytes, 0);  // extra
        Put16(z.bytes, 0);  // comment
        Put16(z.bytes, 0);  // disk
        Put16(z.bytes, 0);  // internal attributes
        Put32(z.bytes, 0);  // external attributes
        Put32(z.bytes, c.offset);
        z.bytes.insert(z.bytes.end(), c.m->name.begin(), c.m->name.end());
    }
    const size_t centralSize = z.bytes.size() - z.centralOffset;
    Put32(z.bytes, 0x06054b50);
    Put16(z.bytes, 0);
    Put16(z.bytes, 0);
    Put16(z.bytes, static_cast<uint32_t>(central.size()));
    Put16(z.bytes, static_cast<uint32_t>(central.size()));
    Put32(z.bytes, static_cast<uint32_t>(centralSize));
    Put32(z.bytes, static_cast<uint32_t>(z.centralOffset));
    Put16(z.bytes, static_cast<uint32_t>(comment.size()));
    z.bytes.insert(z.bytes.end(), comment.begin(), comment.end());
    return z;
}

inline Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

inline void PngChunk(Bytes& png, const char* type, const Bytes& body)
{
    auto be32 = [&](uint32_t v) { for (int i = 3; i >= 0; --i) png.push_back((v >> (8 * i)) & 0xFF); };
    be32(static_cast<uint32_t>(body.size()));
    Bytes typed(type, type + 4);
    typed.insert(typed.end(), body.begin(), body.end());
    png.insert(png.end(), typed.begin(), typed.end());
    be32(Crc(typed));
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
