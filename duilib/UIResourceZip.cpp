// ZIP reading: end record, central directory, local headers; stored and deflate members.
// Every offset and size read from the archive is checked against the bytes we hold.
#include "duilib/UIResource.h"

#include <zlib.h>
#include <algorithm>

namespace DuiLib {

namespace {

constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr uint32_t kZip64EndSignature = 0x06064b50;
constexpr size_t kEndSize = 22;
constexpr size_t kCentralSize = 46;
constexpr size_t kLocalSize = 30;
// Skin members are small; anything beyond this is a lie or an attack on memory.
constexpr uint32_t kMaxMemberSize = 64u * 1024 * 1024;
// Marks members we recognise but cannot read (encrypted, unknown method, oversized).
constexpr uint16_t kUnreadable = 0xFFFF;

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint64_t Le64(const uint8_t* p) { return Le32(p) | (static_cast<uint64_t>(Le32(p + 4)) << 32); }

// True when [offset, offset + length) lies inside a buffer of `total` bytes (overflow-safe).
bool InRange(uint64_t offset, uint64_t length, uint64_t total)
{
    return offset <= total && length <= total - offset;
}

// Lookup key: lower case, '\' and '/' the same.
CDuiString MakeKey(const wchar_t* name)
{
    CDuiString key(name);
    key.Replace(L"\\", L"/");
    key.MakeLower();
    return key;
}

CDuiString DecodeName(const uint8_t* bytes, uint16_t length, bool utf8Flag)
{
    if (length == 0) return CDuiString();
    bool ascii = true;
    for (uint16_t i = 0; i < length; ++i) {
        if (bytes[i] >= 0x80) { ascii = false; break; }
    }
    // Names without the UTF-8 flag are in the DOS code page by the format's rules.
    UINT codePage = (utf8Flag || ascii) ? CP_UTF8 : 437;
    const char* text = reinterpret_cast<const char*>(bytes);
    int n = MultiByteToWideChar(codePage, 0, text, length, nullptr, 0);
    if (n <= 0 && codePage != CP_UTF8) {
        codePage = CP_UTF8;
        n = MultiByteToWideChar(codePage, 0, text, length, nullptr, 0);
    }
    if (n <= 0) return CDuiString();
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text, length, wide.data(), n);
    return CDuiString(wide);
}

bool Inflate(const uint8_t* in, uint32_t inSize, uint8_t* out, uint32_t outSize)
{
    z_stream zs{};
    if (inflateInit2(&zs, -MAX_WBITS) != Z_OK) return false;
    zs.next_in = const_cast<Bytef*>(in);
    zs.avail_in = inSize;
    // zlib wants a non-null output pointer even for an empty member.
    uint8_t dummy = 0;
    zs.next_out = outSize ? out : &dummy;
    zs.avail_out = outSize;
    int rc = inflate(&zs, Z_FINISH);
    const bool ok = rc == Z_STREAM_END && zs.total_out == outSize;
    inflateEnd(&zs);
    return ok;
}

// Where the central directory lies and how many entries it claims.
struct DirectoryPlace {
    uint64_t count = 0;
    uint64_t size = 0;
    uint64_t offset = 0;
};

// The end record sits at the end, followed only by a comment of at most 64 KiB.
// SIZE_MAX when there is none.
size_t FindEndRecord(const uint8_t* data, uint64_t total)
{
    const size_t lowest = total - kEndSize > 0xFFFF ? static_cast<size_t>(total - kEndSize - 0xFFFF) : 0;
    for (size_t pos = static_cast<size_t>(total - kEndSize) + 1; pos-- > lowest;) {
        if (Le32(data + pos) == kEndSignature && pos + kEndSize + Le16(data + pos + 20) <= total) return pos;
    }
    return SIZE_MAX;
}

// Zip64: the real values live in a second end record found through a locator.
bool ReadZip64End(const uint8_t* data, size_t endPos, DirectoryPlace& dir)
{
    if (endPos < 20 || Le32(data + endPos - 20) != kZip64LocatorSignature) return false;
    const uint64_t end64 = Le64(data + endPos - 20 + 8);
    if (!InRange(end64, 56, endPos) || Le32(data + end64) != kZip64EndSignature) return false;
    dir.count = Le64(data + end64 + 32);
    dir.size = Le64(data + end64 + 40);
    dir.offset = Le64(data + end64 + 48);
    return true;
}

// False for multi-disk archives and for a directory that does not fit before the end record.
bool ReadEndRecord(const uint8_t* data, size_t endPos, DirectoryPlace& dir)
{
    const uint8_t* end = data + endPos;
    if (Le16(end + 4) != 0 || Le16(end + 6) != 0) return false;
    dir.count = Le16(end + 10);
    dir.size = Le32(end + 12);
    dir.offset = Le32(end + 16);
    const bool saturated = dir.count == 0xFFFF || dir.size == 0xFFFFFFFF || dir.offset == 0xFFFFFFFF;
    if (saturated && !ReadZip64End(data, endPos, dir)) return false;
    if (!InRange(dir.offset, dir.size, endPos)) return false;
    // Every entry takes at least 46 bytes: a count beyond that is a lie.
    return dir.count <= dir.size / kCentralSize;
}

// Zip64 extra field: 64-bit values replace the saturated 32-bit ones, in this order.
void ApplyZip64Extra(const uint8_t* extra, uint16_t extraLen, uint64_t& size, uint64_t& compressed, uint64_t& offset)
{
    for (uint32_t e = 0; e + 4 <= extraLen;) {
        const uint16_t id = Le16(extra + e);
        const uint16_t len = Le16(extra + e + 2);
        if (e + 4u + len > extraLen) break;
        if (id == 0x0001) {
            const uint8_t* v = extra + e + 4;
            uint32_t left = len;
            for (uint64_t* field : {&size, &compressed, &offset}) {
                if (*field != 0xFFFFFFFF || left < 8) continue;
                *field = Le64(v);
                v += 8;
                left -= 8;
            }
        }
        e += 4u + len;
    }
}

} // namespace

bool CZipArchive::Open(std::vector<uint8_t> bytes)
{
    m_bytes.clear();
    m_entries.clear();
    m_open = false;
    const uint64_t total = bytes.size();
    if (total < kEndSize) return false;
    const uint8_t* data = bytes.data();
    const size_t endPos = FindEndRecord(data, total);
    DirectoryPlace dir;
    if (endPos == SIZE_MAX || !ReadEndRecord(data, endPos, dir)) return false;
    std::vector<Entry> entries;
    if (!ReadDirectory(data, dir.offset, dir.size, dir.count, entries)) return false;

    // Sorted by key for binary search; stable so the first of duplicate names wins.
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.key < b.key; });
    m_entries = std::move(entries);
    m_bytes = std::move(bytes);
    m_open = true;
    return true;
}

// Folders and nameless entries are left out; members we cannot read are kept, marked.
bool CZipArchive::ReadDirectory(const uint8_t* data, uint64_t dirOffset, uint64_t dirSize, uint64_t count,
                                std::vector<Entry>& entries)
{
    entries.reserve(static_cast<size_t>(count));
    uint64_t pos = dirOffset;
    const uint64_t dirEnd = dirOffset + dirSize;
    for (uint64_t i = 0; i < count; ++i) {
        if (!InRange(pos, kCentralSize, dirEnd)) return false;
        const uint8_t* h = data + pos;
        if (Le32(h) != kCentralSignature) return false;
        const uint16_t flags = Le16(h + 8);
        uint16_t method = Le16(h + 10);
        uint64_t compressed = Le32(h + 20);
        uint64_t size = Le32(h + 24);
        const uint16_t nameLen = Le16(h + 28);
        const uint16_t extraLen = Le16(h + 30);
        uint64_t offset = Le32(h + 42);
        const uint64_t recordLen = kCentralSize + uint64_t{nameLen} + extraLen + Le16(h + 32);
        if (!InRange(pos, recordLen, dirEnd)) return false;
        pos += recordLen;
        ApplyZip64Extra(h + kCentralSize + nameLen, extraLen, size, compressed, offset);

        Entry entry;
        entry.name = DecodeName(h + kCentralSize, nameLen, (flags & 0x0800) != 0);
        if (entry.name.IsEmpty()) continue;
        const wchar_t last = entry.name.GetAt(entry.name.GetLength() - 1);
        if (last == L'/' || last == L'\\') continue;  // folders carry no data
        entry.key = MakeKey(entry.name);
        entry.crc = Le32(h + 16);
        if ((flags & 0x0001) || (method != 0 && method != 8) || size > kMaxMemberSize ||
            compressed > UINT32_MAX || offset > UINT32_MAX) {
            method = kUnreadable;
        }
        entry.method = method;
        entry.size = static_cast<uint32_t>(std::min<uint64_t>(size, UINT32_MAX));
        entry.compressedSize = static_cast<uint32_t>(std::min<uint64_t>(compressed, UINT32_MAX));
        entry.offset = static_cast<uint32_t>(std::min<uint64_t>(offset, UINT32_MAX));
        entries.push_back(std::move(entry));
    }
    return true;
}

const CZipArchive::Entry* CZipArchive::FindEntry(const wchar_t* name) const
{
    if (!m_open || !name) return nullptr;
    CDuiString key = MakeKey(name);
    auto it = std::lower_bound(m_entries.begin(), m_entries.end(), key,
                               [](const Entry& e, const CDuiString& k) { return e.key < k; });
    return (it != m_entries.end() && it->key == key) ? &*it : nullptr;
}

bool CZipArchive::Contains(const wchar_t* name) const
{
    return FindEntry(name) != nullptr;
}

std::vector<CDuiString> CZipArchive::Names() const
{
    std::vector<CDuiString> names;
    names.reserve(m_entries.size());
    for (const auto& e : m_entries) names.push_back(e.name);
    return names;
}

bool CZipArchive::Read(const wchar_t* name, std::vector<uint8_t>& out) const
{
    out.clear();
    const Entry* e = FindEntry(name);
    if (!e || e->method == kUnreadable || e->size > kMaxMemberSize) return false;

    const uint64_t total = m_bytes.size();
    if (!InRange(e->offset, kLocalSize, total)) return false;
    const uint8_t* local = m_bytes.data() + e->offset;
    if (Le32(local) != kLocalSignature) return false;
    if (Le16(local + 8) != e->method) return false;
    const uint64_t dataPos = uint64_t{e->offset} + kLocalSize + Le16(local + 26) + Le16(local + 28);
    if (!InRange(dataPos, e->compressedSize, total)) return false;
    const uint8_t* packed = m_bytes.data() + dataPos;

    std::vector<uint8_t> result(e->size);
    if (e->method == 0) {
        if (e->compressedSize != e->size) return false;
        std::copy(packed, packed + e->size, result.begin());
    } else if (!Inflate(packed, e->compressedSize, result.data(), e->size)) {
        return false;
    }
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, result.data(), static_cast<uInt>(result.size()));
    if (static_cast<uint32_t>(crc) != e->crc) return false;
    out = std::move(result);
    return true;
}

} // namespace DuiLib
