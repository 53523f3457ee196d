#pragma once
// ZIP archives written in memory, so a test knows exactly the bytes the library reads.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, uint32_t v);
void Put32(Bytes& b, uint32_t v);
void Put32At(Bytes& b, size_t at, uint32_t v);

// Raw deflate (no zlib header), as ZIP stores it.
Bytes Deflate(const Bytes& in);
uint32_t Crc(const Bytes& data);

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

ZipLayout BuildZip(const std::vector<ZipMember>& members, const std::string& comment = "");

// A ZIP of stored members (name, UTF-8 content).
Bytes StoredZip(const std::vector<std::pair<std::string, std::string>>& members);

} // namespace testsupport
