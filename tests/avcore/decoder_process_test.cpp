// The decoder process the engine reads files in: the player's rights are not its
// rights, and what it says about a picture is checked before the player reads a slot.
#include <gtest/gtest.h>

#include <string>

#include "avcore/decoder_process.h"
#include "avcore/decoder_protocol.h"
#include "avcore/decoder_token.h"

namespace {

using avcore::VideoFormat;
namespace decoder = avcore::decoder;

VideoFormat Nv12(int width, int height)
{
    VideoFormat f;
    f.codedWidth = f.cropWidth = width;
    f.codedHeight = f.cropHeight = height;
    return f;
}

TEST(DecoderProtocol, ASlotHoldsTheVisibleRectangleOnWholeRows)
{
    struct Case {
        const char* name;
        VideoFormat decoded;
        int stride, width, height;
    };
    VideoFormat cropped = Nv12(1920, 1088);
    cropped.cropX = 8;
    cropped.cropY = 4;
    cropped.cropHeight = 1080;
    VideoFormat odd = Nv12(1281, 721);
    odd.layout = avfx::PixelLayout::I420;
    const Case cases[] = {
        {"1080p", Nv12(1920, 1080), 1920, 1920, 1080},
        {"cropped: only what is shown", cropped, 1920, 1920, 1080},
        {"odd sizes: chroma rows round up", odd, 1344, 1281, 721},
        {"narrow", Nv12(2, 2), 64, 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const VideoFormat slot = decoder::SlotFormat(c.decoded);
        EXPECT_EQ(slot.defaultStride, c.stride);
        EXPECT_EQ(slot.cropWidth, c.width);
        EXPECT_EQ(slot.cropHeight, c.height);
        EXPECT_EQ(slot.cropX + slot.cropY, 0);
        EXPECT_EQ(slot.layout, c.decoded.layout);
        EXPECT_TRUE(decoder::SlotFormatFits(slot, decoder::SlotBytes(slot)));
        EXPECT_FALSE(decoder::SlotFormatFits(slot, decoder::SlotBytes(slot) - 1));
    }
}

TEST(DecoderProtocol, AFormatFromTheDecoderThatWouldReadPastItsSlotIsRefused)
{
    const VideoFormat good = decoder::SlotFormat(Nv12(1920, 1080));
    const size_t room = decoder::SlotBytes(good);
    struct Case {
        const char* name;
        void (*spoil)(VideoFormat&);
    };
    const Case cases[] = {
        {"rows shorter than the picture", [](VideoFormat& f) { f.defaultStride = 1918; }},
        {"odd row length", [](VideoFormat& f) { f.defaultStride = 1921; }},
        {"no rows at all", [](VideoFormat& f) { f.defaultStride = 0; }},
        {"taller than the slot", [](VideoFormat& f) { f.codedHeight = f.cropHeight = 1200; }},
        {"wider than the slot", [](VideoFormat& f) { f.codedWidth = f.cropWidth = f.defaultStride = 2048; }},
        {"negative size", [](VideoFormat& f) { f.codedWidth = f.cropWidth = -64; }},
        {"a crop origin", [](VideoFormat& f) { f.cropY = 2; }},
        {"coded and shown sizes differ", [](VideoFormat& f) { f.codedHeight = 1088; }},
        {"an unknown pixel layout", [](VideoFormat& f) { f.layout = static_cast<avfx::PixelLayout>(7); }},
        {"an unknown colour matrix", [](VideoFormat& f) { f.matrix = static_cast<avfx::ColorMatrix>(-1); }},
        {"beyond the converter's size", [](VideoFormat& f) { f.codedWidth = f.cropWidth = 16400; }},
    };
    EXPECT_TRUE(decoder::SlotFormatFits(good, room));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VideoFormat f = good;
        c.spoil(f);
        EXPECT_FALSE(decoder::SlotFormatFits(f, room));
    }
}

constexpr DWORD kStartMs = 20000;  // a fresh process on a loaded machine, warm-up included

TEST(DecoderProcess, ItsTokenHasNoAdministratorsRightsNoPrivilegesAndAsksForLowIntegrity)
{
    auto decoder = avcore::DecoderProcess::Start(nullptr);
    ASSERT_TRUE(decoder);
    ASSERT_TRUE(decoder->waitReady(kStartMs));
    // Read by GetTokenInformation in the decoder, on its own token.
    const avcore::decoder::Identity child = decoder->identity();
    const avcore::UniqueHandle made = avcore::MakeDecoderToken();
    ASSERT_TRUE(made) << "no reduced token could be made";
    const avcore::decoder::Identity asked = avcore::DescribeToken(made.get());
    RecordProperty("integrity_rid", static_cast<int>(child.integrityRid));
    RecordProperty("privileges", static_cast<int>(child.privileges));

    EXPECT_EQ(child.adminsDenyOnly, 1u) << "the Administrators group can still grant the decoder access";
    // The decoder runs with the token the player made for it, privileges and all.
    EXPECT_EQ(child.privileges, asked.privileges);
    EXPECT_EQ(child.integrityRid, asked.integrityRid);
    if (asked.integrityRid != SECURITY_MANDATORY_LOW_RID)
        GTEST_SKIP() << "this platform keeps no integrity level in a token (Wine stubs TokenIntegrityLevel): "
                     << "the low level the token asks for cannot be read back";
    EXPECT_EQ(child.integrityRid, static_cast<uint32_t>(SECURITY_MANDATORY_LOW_RID));
    EXPECT_LE(child.privileges, 1u) << "only the bypass of traverse checking is kept";
}

} // namespace
