// Another track's sound brought to the device's format: channels mixed, rate changed
// without changing the pitch, and a stream converted in chunks as in one piece.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "avcore/pcm_convert.h"
#include "tone_pitch.h"

namespace {

struct MixCase {
    int inChannels, outChannels;
    std::vector<int16_t> in, out;
};

TEST(PcmConverter, MixesChannelsWithinRange)
{
    const MixCase cases[] = {
        {1, 2, {100, -200}, {100, 100, -200, -200}},
        {2, 1, {100, 300, -32768, -32768}, {200, -32768}},
        {2, 2, {1, 2}, {1, 2}},
        // 5.1 into stereo: the centre and surrounds join at -3 dB, full scale stays in range.
        {6, 2, {32767, 32767, 32767, 32767, 32767, 32767}, {32767, 32767}},
        {6, 2, {1000, 0, 0, 5000, 0, 0}, {414, 0}},
    };
    for (const MixCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.inChannels << " -> " << c.outChannels);
        avcore::PcmConverter convert;
        convert.configure(48000, c.inChannels, 48000, c.outChannels);
        // One frame more: the converter keeps the last frame back until the next chunk.
        std::vector<int16_t> in = c.in;
        in.insert(in.end(), c.in.end() - c.inChannels, c.in.end());
        std::vector<int16_t> out;
        convert.convert(in.data(), in.size() / c.inChannels, out);
        out.resize(std::min(out.size(), c.out.size()));
        EXPECT_EQ(out, c.out);
    }
}

TEST(PcmConverter, ChangesTheRateKeepingThePitchAcrossChunks)
{
    for (const auto& [from, to] : {std::pair{44100, 48000}, std::pair{48000, 44100}, std::pair{48000, 22050}}) {
        SCOPED_TRACE(testing::Message() << from << " -> " << to);
        std::vector<int16_t> tone(static_cast<size_t>(from));  // one second of 440 Hz
        for (size_t i = 0; i < tone.size(); ++i)
            tone[i] = static_cast<int16_t>(8000 * std::sin(2 * 3.14159265358979 * 440.0 * static_cast<double>(i) / from));
        avcore::PcmConverter convert;
        convert.configure(from, 1, to, 1);
        std::vector<int16_t> out;
        for (size_t at = 0; at < tone.size(); at += 1013)  // odd chunks: the phase carries over
            convert.convert(tone.data() + at, std::min<size_t>(1013, tone.size() - at), out);
        EXPECT_NEAR(static_cast<double>(out.size()), to, 2.0);
        EXPECT_NEAR(avtest::TonePitch(out, 1, to, static_cast<size_t>(to) / 10), 440.0, 440.0 * 0.005);
    }
}

} // namespace
