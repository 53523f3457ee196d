// Images from the skin: decoding, the cache and the process-wide archive.
#include <gtest/gtest.h>

#include "duilib/UIResource.h"
#include "test_data.h"

using namespace DuiLib;
using namespace restest;

namespace {
// 2x2: opaque red, half-transparent white, transparent, opaque blue.
const std::vector<uint32_t> kQuad = {0xFFFF0000, 0x80FFFFFF, 0x00000000, 0xFF0000FF};

class SkinImages : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CSkinSource::UseMemory(BuildZip({{"quad.png", MakePng(2, 2, kQuad), true},
                                                     {"slider/thumb.png", MakePng(1, 1, {0xFF00FF00}), true},
                                                     {"thumb.png", MakePng(1, 1, {0xFFFF00FF}), true},
                                                     {"broken.png", Text("not a png at all"), true}})
                                                .bytes));
    }
    void TearDown() override { CSkinSource::Reset(); }
};
} // namespace

TEST(DecodeImage, PngBecomesPremultipliedBgraAndGarbageNull)
{
    const Bytes png = MakePng(2, 2, kQuad);
    auto image = DecodeImage(png.data(), png.size());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 2);
    EXPECT_TRUE(image->hasAlpha);
    EXPECT_EQ(image->pixels[0], 0xFFFF0000u);
    EXPECT_EQ(image->pixels[1] >> 24, 0x80u);
    EXPECT_NEAR(static_cast<int>(image->pixels[1] & 0xFF), 0x80, 1);  // white scaled by its alpha
    EXPECT_EQ(image->pixels[3], 0xFF0000FFu);
    const Bytes opaque = MakePng(1, 1, {0xFF123456});
    auto solid = DecodeImage(opaque.data(), opaque.size());
    ASSERT_NE(solid, nullptr);
    EXPECT_FALSE(solid->hasAlpha);

    // A real picture past 64 M pixels is refused before its buffer is allocated.
    const Bytes huge = MakeBlankPng(16384, 4097);
    EXPECT_EQ(DecodeImage(huge.data(), huge.size()), nullptr);

    const Bytes junk = Text("GIF89a but not really");
    EXPECT_EQ(DecodeImage(junk.data(), junk.size()), nullptr);
    EXPECT_EQ(DecodeImage(nullptr, 0), nullptr);
    EXPECT_EQ(DecodeImage(png.data(), png.size() / 2), nullptr);
}

TEST_F(SkinImages, CacheHitsMissesAndSeparators)
{
    auto first = CImageCache::Get(L"quad.png");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(CImageCache::Get(L"QUAD.png"), first);  // same decoded object, not decoded twice
    auto thumb = CImageCache::Get(L"slider\\thumb.png");
    ASSERT_NE(thumb, nullptr);
    EXPECT_EQ(CImageCache::Get(L"slider/thumb.png"), thumb);
    EXPECT_EQ(thumb->pixels[0], 0xFF00FF00u);
    EXPECT_EQ(CImageCache::Get(L"missing.png"), nullptr);
    EXPECT_EQ(CImageCache::Get(L"broken.png"), nullptr);
    EXPECT_EQ(CImageCache::Get(L""), nullptr);
    EXPECT_EQ(CImageCache::Get(nullptr), nullptr);

    // A new archive empties the cache: the same name now means the new member.
    ASSERT_TRUE(CSkinSource::UseMemory(BuildZip({{"quad.png", MakePng(1, 1, {0xFF0000FF}), true}}).bytes));
    auto replaced = CImageCache::Get(L"quad.png");
    ASSERT_NE(replaced, nullptr);
    EXPECT_EQ(replaced->width, 1);
    EXPECT_EQ(first->width, 2);  // holders of the old image keep it alive
}

TEST_F(SkinImages, SkinSourceFolderFallbackAndReset)
{
    Bytes out;
    ASSERT_TRUE(CSkinSource::ReadFile(L"slider", L"thumb.png", out));
    auto inFolder = DecodeImage(out.data(), out.size());
    ASSERT_TRUE(CSkinSource::ReadFile(L"Res\\", L"thumb.png", out));  // no such folder: root
    auto atRoot = DecodeImage(out.data(), out.size());
    ASSERT_TRUE(inFolder && atRoot);
    EXPECT_EQ(inFolder->pixels[0], 0xFF00FF00u);
    EXPECT_EQ(atRoot->pixels[0], 0xFFFF00FFu);
    EXPECT_FALSE(CSkinSource::ReadFile(L"", L"", out));

    // A non-archive does not replace the current one.
    EXPECT_FALSE(CSkinSource::UseMemory(Text("nope")));
    EXPECT_TRUE(CSkinSource::ReadFile(L"quad.png", out));
    EXPECT_FALSE(CSkinSource::UseResource(GetModuleHandleW(nullptr), 4242));
    EXPECT_TRUE(CSkinSource::IsLoaded());
    CSkinSource::Reset();
    EXPECT_FALSE(CSkinSource::IsLoaded());
    EXPECT_FALSE(CSkinSource::ReadFile(L"quad.png", out));
    EXPECT_EQ(CImageCache::Get(L"quad.png"), nullptr);
}
