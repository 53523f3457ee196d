#include "support/zip_writer.h"

#include <zlib.h>

#include <initializer_list>

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

namespace {

// Little-endian fields of 2 or 4 bytes, in order.
void PutFields(Bytes& b, std::initializer_list<std::pair<int, uint32_t>> fields)
{
    for (const auto& [bytes, value] : fields) bytes == 2 ? Put16(b, value) : Put32(b, value);
}

void PutText(Bytes& b, const std::string& text) { b.insert(b.end(), text.begin(), text.end()); }

} // namespace

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
        const bool later = m.dataDescriptor;
        // signature, version, flags, method, time and date, CRC, sizes, name and extra lengths
        PutFields(z.bytes, {{4, 0x04034b50}, {2, 20}, {2, c.flags}, {2, c.method}, {4, 0}, {4, later ? 0 : c.crc},
                            {4, later ? 0 : c.packed}, {4, later ? 0 : c.size},
                            {2, static_cast<uint32_t>(m.name.size())}, {2, 0}});
        PutText(z.bytes, m.name);
        z.bytes.insert(z.bytes.end(), packed.begin(), packed.end());
        if (later) PutFields(z.bytes, {{4, 0x08074b50}, {4, c.crc}, {4, c.packed}, {4, c.size}});
        central.push_back(c);
    }
    z.centralOffset = z.bytes.size();
    for (const Central& c : central) {
        // signature, versions, flags, method, time and date, CRC, sizes, name, extra and
        // comment lengths, disk, internal and external attributes, local header's offset
        PutFields(z.bytes, {{4, 0x02014b50}, {2, 20}, {2, 20}, {2, c.flags}, {2, c.method}, {4, 0}, {4, c.crc},
                            {4, c.packed}, {4, c.size}, {2, static_cast<uint32_t>(c.m->name.size())}, {2, 0}, {2, 0},
                            {2, 0}, {2, 0}, {4, 0}, {4, c.offset}});
        PutText(z.bytes, c.m->name);
    }
    const size_t centralSize = z.bytes.size() - z.centralOffset;
    // signature, disks, entries on this disk and in all, directory size and offset, comment length
    PutFields(z.bytes, {{4, 0x06054b50}, {2, 0}, {2, 0}, {2, static_cast<uint32_t>(central.size())},
                        {2, static_cast<uint32_t>(central.size())}, {4, static_cast<uint32_t>(centralSize)},
                        {4, static_cast<uint32_t>(z.centralOffset)}, {2, static_cast<uint32_t>(comment.size())}});
    PutText(z.bytes, comment);
    return z;
}

Bytes StoredZip(const std::vector<std::pair<std::string, std::string>>& members)
{
    std::vector<ZipMember> stored;
    for (const auto& [name, text] : members) stored.push_back({name, Bytes(text.begin(), text.end()), false});
    return BuildZip(stored).bytes;
}

} // namespace testsupport
