// Sound on its way to the device. The time-stretch keeps a tone's pitch at every speed, lasts
// the input's time over the speed, reports the source position of what came out, and passes
// normal speed through unchanged. Another track's sound brought to the device's format:
// channels mixed, rate changed keeping the pitch, a stream converted in chunks as in one piece.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "avcore/pcm_convert.h"
#include "avcore/time_stretch.h"
#include "tone_pitch.h"

namespace {

constexpr int kRate = 48000;
constexpr int kChannels = 2;

// A sine of amplitude 8000 in every channel.
std::vector<int16_t> Tone(double hz, double seconds, int rate = kRate, int channels = kChannels)
{
    const size_t frames = static_cast<size_t>(seconds * rate);
    std::vector<int16_t> out(frames * channels);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<int16_t>(std::lround(8000 * std::sin(2 * 3.14159265358979 * hz * (i / channels) / rate)));
    return out;
}

// Feeds the input in 10 ms chunks, pulling 25 ms blocks as a sound device would.
std::vector<int16_t> Stretch(avcore::TimeStretch& ts, const std::vector<int16_t>& in)
{
    std::vector<int16_t> out, block(1200 * kChannels);
    const size_t frames = in.size() / kChannels;
    for (size_t at = 0; at < frames; at += 480) {
        ts.push(in.data() + at * kChannels, std::min<size_t>(480, frames - at));
        while (size_t n = ts.pull(block.data(), 1200)) out.insert(out.end(), block.begin(), block.begin() + n * kChannels);
    }
    return out;
}

TEST(TimeStretch, KeepsPitchAndScalesDuration)
{
    const std::vector<int16_t> tone = Tone(440, 3.0);
    for (double speed : {0.5, 0.75, 1.25, 1.5, 2.0}) {
        SCOPED_TRACE(speed);
        avcore::TimeStretch ts(kRate, kChannels);
        ts.setSpeed(speed);
        const std::vector<int16_t> out = Stretch(ts, tone);
        const double inFrames = static_cast<double>(tone.size() / kChannels);
        const double outFrames = static_cast<double>(out.size() / kChannels);
        // All but what is held back for the next piece has come out.
        EXPECT_NEAR(outFrames, (inFrames - ts.latencyFrames()) / speed, 0.01 * inFrames / speed);
        EXPECT_NEAR(avtest::TonePitch(out, kChannels, kRate, 4800), 440.0, 440.0 * 0.005);
        // The reported source is where the output has got to in the input.
        EXPECT_NEAR(ts.nextOutputSource(), outFrames * speed, kRate * 0.01);
        EXPECT_LE(ts.latencyFrames(), static_cast<size_t>(kRate * 0.030));
    }
}

TEST(TimeStretch, NormalSpeedPassesSoundThroughAndChangesAreSeamless)
{
    const std::vector<int16_t> tone = Tone(523.25, 1.0);
    avcore::TimeStretch ts(kRate, kChannels);
    const std::vector<int16_t> out = Stretch(ts, tone);
    ASSERT_GT(out.size(), tone.size() / 2);
    // The first piece fades in; after it every sample is the input's, to rounding.
    int worst = 0;
    for (size_t i = kRate / 100 * kChannels; i < out.size(); ++i) worst = std::max(worst, std::abs(out[i] - tone[i]));
    EXPECT_LE(worst, 1);

    // Speed changes mid-stream keep the tone: no block loses it.
    avcore::TimeStretch changing(kRate, kChannels);
    std::vector<int16_t> all;
    for (double speed : {1.0, 2.0, 0.5, 1.0, 1.5}) {
        changing.setSpeed(speed);
        const std::vector<int16_t> part = Stretch(changing, Tone(440, 0.5));
        all.insert(all.end(), part.begin(), part.end());
    }
    EXPECT_NEAR(avtest::TonePitch(all, kChannels, kRate, 2400), 440.0, 440.0 * 0.01);

    // After a reset nothing old comes out, and the source counts from zero again.
    changing.reset();
    std::vector<int16_t> block(1200 * kChannels);
    EXPECT_EQ(changing.pull(block.data(), 1200), 0u);
    EXPECT_EQ(changing.nextOutputSource(), 0.0);
}

TEST(PcmConverter, MixesChannelsWithinRange)
{
    const struct { int inChannels, outChannels; std::vector<int16_t> in, out; } cases[] = {
        {1, 2, {100, -200}, {100, 100, -200, -200}},
        {2, 1, {100, 300, -32768, -32768}, {200, -32768}},
        {2, 2, {1, 2}, {1, 2}},
        // 5.1 into stereo: the centre and surrounds join at -3 dB, full scale stays in range.
        {6, 2, {32767, 32767, 32767, 32767, 32767, 32767}, {32767, 32767}},
        {6, 2, {1000, 0, 0, 5000, 0, 0}, {414, 0}},
    };
    for (const auto& c : cases) {
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
        const std::vector<int16_t> tone = Tone(440.0, 1.0, from, 1);
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
