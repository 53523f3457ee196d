// Sound as it reaches the device: the ALSA file sink under test records every
// sample played, in the format the engine opened the device with.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "avcore/avplayer.h"
#include "avcore/avplayer_probe.h"
#include "media_env.h"
#include "support/pump.h"
#include "tone_pitch.h"

namespace {

using avtest::MediaPath;
using avtest::ReadSamples;
using testsupport::PumpUntil;

struct Capture {
    size_t samples = 0;
    int peak = 0;
    double rms = 0.0;        // median over the 10 ms blocks with sound
    size_t loudBlocks = 0;
};

Capture ReadCapture(const std::wstring& path)
{
    Capture c;
    const std::vector<int16_t> samples = ReadSamples(path);
    c.samples = samples.size();
    // The sink pads with silence whenever it runs dry, so the level is the median of
    // the blocks that carry sound.
    const size_t block = 441;
    std::vector<double> levels;
    for (size_t i = 0; i + block <= samples.size(); i += block) {
        int blockPeak = 0;
        double sum = 0;
        for (size_t j = i; j < i + block; ++j) {
            blockPeak = std::max(blockPeak, std::abs(static_cast<int>(samples[j])));
            sum += static_cast<double>(samples[j]) * samples[j];
        }
        c.peak = std::max(c.peak, blockPeak);
        if (blockPeak > 0) levels.push_back(std::sqrt(sum / block));
    }
    c.loudBlocks = levels.size();
    if (!levels.empty()) {
        std::nth_element(levels.begin(), levels.begin() + levels.size() / 2, levels.end());
        c.rms = levels[levels.size() / 2];
    }
    return c;
}

// Plays one second of the 440 Hz clip and returns what the sink recorded meanwhile.
Capture PlayAndCapture(avplayer& p, double startSeconds = 1.0)
{
    const std::wstring path = avtest::CapturePath();
    DeleteFileW(path.c_str());
    EXPECT_NE(p.open(MediaPath("clip.mp4").c_str(), 0, 2, 0, 0), 0);
    p.play(startSeconds, 0);
    PumpUntil([&] { return p.curr_play_time() >= startSeconds + 1.0; }, 4000);
    EXPECT_TRUE(avplayer_probe::audioDevice(p));
    EXPECT_EQ(avplayer_probe::audioChannels(p), 1);  // the sink records the format the engine opened
    EXPECT_EQ(avplayer_probe::audioRate(p), 44100);
    p.stop();
    p.close();
    return ReadCapture(path);
}

class PlayerAudio : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (avtest::CapturePath().empty()) GTEST_SKIP() << "no ALSA file sink (MORVANE_AUDIO_CAPTURE unset)";
    }
};

TEST_F(PlayerAudio, LevelFollowsVolumeAndMuteSilences)
{
    avplayer p;
    p.volume(100, 100);
    const Capture full = PlayAndCapture(p);
    ASSERT_GT(full.loudBlocks, 50u) << "too little sound reached the device";
    // ffmpeg's sine source has amplitude 1/8 of full scale: RMS 4096 / sqrt(2).
    EXPECT_NEAR(full.rms, 4096 / std::sqrt(2.0), 150);

    p.volume(50, 50);
    const Capture half = PlayAndCapture(p);
    // Cubic taper: 50% is 1/8 of the amplitude.
    EXPECT_NEAR(half.rms / full.rms, 0.125, 0.01);

    p.volume(1000, 1000);  // the full-screen bar sends ten times the percentage
    const Capture clamped = PlayAndCapture(p);
    EXPECT_NEAR(clamped.rms / full.rms, 1.0, 0.02);

    p.mute_set(true);
    const Capture muted = PlayAndCapture(p);
    EXPECT_GT(muted.samples, 44100u / 2);
    EXPECT_EQ(muted.peak, 0);
    EXPECT_TRUE(p.get_mute());

    p.mute_set(false);
    p.volume(0, 0);
    EXPECT_EQ(PlayAndCapture(p).peak, 0);
}

TEST_F(PlayerAudio, ToneKeepsItsPitchAtEverySpeedAndTheClockRunsAtIt)
{
    avplayer p;
    p.volume(100, 100);
    for (double speed : {0.5, 1.5, 2.0}) {
        SCOPED_TRACE(speed);
        const std::wstring path = avtest::CapturePath();
        DeleteFileW(path.c_str());
        p.set_speed(speed);
        ASSERT_NE(p.open(MediaPath("clip.mp4").c_str(), 0, 2, 0, 0), 0);
        EXPECT_EQ(p.speed(), speed);  // kept across files
        p.play(0.5, 0);
        ASSERT_TRUE(PumpUntil([&] { return p.curr_play_time() >= 0.7; }, 4000));
        const double wallStart = avtest::Seconds(), mediaStart = p.curr_play_time();
        ASSERT_TRUE(PumpUntil([&] { return p.curr_play_time() >= 3.0; }, 8000));
        const double rate = (p.curr_play_time() - mediaStart) / (avtest::Seconds() - wallStart);
        RecordProperty(("clock_rate_at_" + std::to_string(speed)).c_str(), std::to_string(rate));
        // The clock's own rate, asked for a second ahead: a loaded machine starves the
        // sound and holds the clock back (reported above), the rate stays the speed.
        const double clockRate = avplayer_probe::clockAt(p, 1.0) - avplayer_probe::clockAt(p, 0.0);
        p.stop();
        p.close();
        const double pitch = avtest::TonePitch(ReadSamples(path), 1, 44100);
        RecordProperty(("pitch_at_" + std::to_string(speed)).c_str(), std::to_string(pitch));
        EXPECT_NEAR(pitch, 440.0, 440.0 * 0.02);
        EXPECT_NEAR(clockRate, speed, speed * 0.25);
    }
    p.set_speed(std::nan(""));
    EXPECT_EQ(p.speed(), 2.0);
    p.set_speed(5.0);
    EXPECT_EQ(p.speed(), avplayer::kMaxSpeed);
    p.set_speed(0.1);
    EXPECT_EQ(p.speed(), avplayer::kMinSpeed);
}
}
