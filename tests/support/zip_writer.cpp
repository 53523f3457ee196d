#include "support/zip_writer.h"

#include <zlib.h>

namespace testsupport {

void Put16(Bytes& b, uint32_t v) { b.push_back(v & 0xFF); b.push_back((v >> 8) & 0xFF); }
void Put32(Bytes& b, uint32_t v) { Put16(b, v & 0xFFFF); Put16(b, v >> 16); }
void Put32At(Bytes& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

Bytes Deflate(const Bytes& in)
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

uint32_t Crc(const Bytes& data)
{
    return static_cast<uint32_t>(crc32(crc32(0, Z_NULL, 0), data.data(), static_cast<uInt>(data.size())));
}

ZipLayout BuildZip(const std::vector<ZipMember>& members, const std::string& comment)
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

Bytes StoredZip(const std::vector<std::pair<std::string, std::string>>& members)
{
    std::vector<ZipMember> stored;
    for (const auto& [name, text] : members) stored.push_back({name, Bytes(text.begin(), text.end()), false});
    return BuildZip(stored).bytes;
}

} // namespace testsupport
