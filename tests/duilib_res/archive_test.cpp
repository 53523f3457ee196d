// The ZIP reader: members stored and deflated, name matching, and archives that lie.
#include <gtest/gtest.h>

#include <random>

#include "duilib/UIResource.h"
#include "test_data.h"

using namespace DuiLib;
using namespace restest;

namespace {
Bytes Pattern(size_t n)
{
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>((i * 7) ^ (i >> 5));
    return b;
}
} // namespace

TEST(ZipArchive, ReadsStoredAndDeflatedMembersByAnySpelling)
{
    const Bytes layout = Text("\xEF\xBB\xBF<Window/>");
    ZipMember streamed{"shp/yuan.png", Pattern(3000), true};
    streamed.dataDescriptor = true;  // how CMake's archiver writes members
    ZipLayout zip = BuildZip({{"MainFrame.xml", layout, false}, {"slider/thumb.png", Pattern(100000), true},
                              streamed, {"empty.txt", {}, true}},
                             "a comment at the end");
    CZipArchive archive;
    ASSERT_TRUE(archive.Open(zip.bytes));
    EXPECT_EQ(archive.Names().size(), 4u);
    Bytes out;
    ASSERT_TRUE(archive.Read(L"MainFrame.xml", out));
    EXPECT_EQ(out, layout);
    ASSERT_TRUE(archive.Read(L"slider\\thumb.png", out));  // '\' finds '/'
    EXPECT_EQ(out, Pattern(100000));
    ASSERT_TRUE(archive.Read(L"SHP/YUAN.PNG", out));        // case does not matter
    EXPECT_EQ(out, streamed.data);
    ASSERT_TRUE(archive.Read(L"empty.txt", out));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(archive.Contains(L"thumb.png"));
    EXPECT_FALSE(archive.Read(L"missing.png", out));
    EXPECT_FALSE(archive.Read(nullptr, out));
}

TEST(ZipArchive, RefusesNonArchivesAndTruncation)
{
    CZipArchive archive;
    EXPECT_FALSE(archive.Open({}));
    EXPECT_FALSE(archive.Open(Text("<Window/>")));
    EXPECT_FALSE(archive.Open(Bytes(5000, 0)));

    const ZipLayout zip = BuildZip({{"a.xml", Pattern(5000), true}, {"b.xml", Pattern(70), false}});
    for (size_t n = 0; n < zip.bytes.size(); n += 7) {
        EXPECT_FALSE(CZipArchive().Open(Bytes(zip.bytes.begin(), zip.bytes.begin() + static_cast<std::ptrdiff_t>(n))));
    }
    // A failed Open forgets the previous archive.
    ASSERT_TRUE(archive.Open(zip.bytes));
    EXPECT_FALSE(archive.Open(Text("junk")));
    EXPECT_FALSE(archive.Contains(L"a.xml"));
}

TEST(ZipArchive, MembersThatLieAreRefused)
{
    // Each names its lie: deflate, CRC, uncompressed and compressed size deltas.
    const std::vector<ZipMember> members = {
        {"crc.xml", Pattern(1000), true, 1},
        {"storedcrc.xml", Pattern(1000), false, 1},
        {"big.xml", Pattern(1000), true, 0, 500},
        {"small.xml", Pattern(1000), true, 0, -500},
        {"storedlie.xml", Pattern(1000), false, 0, 10},
        {"pastend.xml", Pattern(1000), true, 0, 0, 1 << 20},
        {"huge.xml", Pattern(1000), true, 0, 65 * 1024 * 1024},  // beyond the 64 MiB a member may claim
        {"good.xml", Pattern(1000)},
    };
    ZipLayout zip = BuildZip(members);

    CZipArchive archive;
    ASSERT_TRUE(archive.Open(zip.bytes));
    for (size_t i = 0; i + 1 < members.size(); ++i) {
        Bytes out{1, 2, 3};
        const std::wstring name(members[i].name.begin(), members[i].name.end());
        EXPECT_FALSE(archive.Read(name.c_str(), out)) << members[i].name;
        EXPECT_TRUE(out.empty());
    }
    Bytes out;
    EXPECT_TRUE(archive.Read(L"good.xml", out));

    Bytes b = zip.bytes;  // a local header offset far past the end
    Put32At(b, zip.centralOffset + 42, 0x7FFFFFF0);
    ASSERT_TRUE(archive.Open(b));
    EXPECT_FALSE(archive.Read(L"crc.xml", out));
    b = zip.bytes;        // a directory larger than the file
    Put32At(b, b.size() - 22 + 12, 0x7FFFFFFF);
    EXPECT_FALSE(archive.Open(b));
    b = zip.bytes;        // more entries than the directory can hold
    Put32At(b, b.size() - 22 + 8, 0x00FE00FE);
    EXPECT_FALSE(archive.Open(b));
}

TEST(ZipArchive, RandomDamageNeverYieldsWrongBytes)
{
    const ZipLayout zip = BuildZip({{"a.xml", Pattern(2000), true}, {"b.xml", Pattern(2000), false}});
    const wchar_t* names[] = {L"a.xml", L"b.xml"};
    const size_t memberEnds[] = {zip.localOffsets[1], zip.centralOffset};
    std::mt19937 rng(99);
    int refused = 0;
    for (int round = 0; round < 3000; ++round) {
        Bytes b = zip.bytes;
        bool hit[2] = {}, directoryHit = false;
        for (int e = 0; e < 4; ++e) {
            const size_t at = rng() % b.size();
            b[at] = static_cast<uint8_t>(rng());
            if (at >= zip.centralOffset) directoryHit = true;
            else hit[at < memberEnds[0] ? 0 : 1] = true;
        }
        CZipArchive archive;
        const bool opened = archive.Open(b);
        // Damage confined to members' data leaves the directory, and every untouched member, readable.
        ASSERT_TRUE(opened || directoryHit) << round;
        if (!opened) continue;
        for (int m = 0; m < 2; ++m) {
            Bytes out;
            const bool read = archive.Read(names[m], out);
            if (read) EXPECT_EQ(out, Pattern(2000)) << round;  // whatever is returned passed the CRC
            if (!directoryHit && !hit[m]) EXPECT_TRUE(read) << round;
            refused += hit[m] && !read;
        }
    }
    EXPECT_GT(refused, 1000) << "damaged members must be refused, not merely never opened";
}
