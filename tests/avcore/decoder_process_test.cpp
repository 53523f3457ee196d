// The decoder process the engine reads files in, as its own token describes it: the
// player's rights are not its rights.
#include <gtest/gtest.h>

#include "avcore/decoder_process.h"
#include "avcore/decoder_token.h"

namespace {

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
