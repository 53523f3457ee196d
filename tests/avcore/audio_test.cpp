// Sound as it reaches the device: the ALSA file sink under test records every
// sample played, in the format the engine opened the device with.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "avcore/avplayer.h"
#include "avcore/avplayer_probe.h"
#include "media_env.h"

namespace {

using avtest::MediaPath;
using avtest::WaitFor;

struct Capture {
    std::vector<int16_t> samples;
    int peak = 0;
    double rms = 0.0;        // over the blocks that are not silent
    size_t loudSamples = 0;  // samples in those blocks
};

long long FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA d{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &d)) return -1;
    return (static_cast<long long>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

Capture ReadCapture(const std::wstring& path, long long from)
{
    Capture c;
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f) return c;
    _fseeki64(f, from, SEEK_SET);
    int16_t buf[4096];
    size_t n;
    while ((n = fread(buf, sizeof(int16_t), 4096, f)) > 0) c.samples.insert(c.samples.end(), buf, buf + n);
    fclose(f);
    // The sink pads with silence whenever it runs dry: measure the level over 10 ms blocks with sound.
    const size_t block = 441;
    double sum = 0;
    for (size_t i = 0; i + block <= c.samples.size(); i += block) {
        int blockPeak = 0;
        double blockSum = 0;
        for (size_t j = i; j < i + block; ++j) {
            blockPeak = std::max(blockPeak, std::abs(static_cast<int>(c.samples[j])));
            blockSum += static_cast<double>(c.samples[j]) * c.samples[j];
        }
        c.peak = std::max(c.peak, blockPeak);
        if (blockPeak > 0) {
            sum += blockSum;
            c.loudSamples += block;
        }
    }
    c.rms = c.loudSamples ? std::sqrt(sum / c.loudSamples) : 0.0;
    return c;
}

// Plays one second of the 440 Hz clip and returns what the sink recorded meanwhile.
Capture PlayAndCapture(avplayer& p, double startSeconds = 1.0)
{
    const std::wstring path = avtest::CapturePath();
    const long long before = FileSize(path);
    EXPECT_NE(p.open(MediaPath("clip.mp4").c_str(), 0, 2, 0, 0), 0);
    p.play(startSeconds, 0);
    WaitFor([&] { return p.curr_play_time() >= startSeconds + 1.0; }, 4000);
    p.stop();
    p.close();
    return ReadCapture(path, before < 0 ? 0 : before);
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
    printf("full: %zu samples, peak %d, rms %.1f over %zu\n", full.samples.size(), full.peak, full.rms, full.loudSamples);
    ASSERT_GT(full.loudSamples, 44100u / 2) << "too little sound reached the device";

    p.volume(50, 50);
    const Capture half = PlayAndCapture(p);
    printf("half: %zu samples, peak %d, rms %.1f\n", half.samples.size(), half.peak, half.rms);
    // Cubic taper: 50% is 1/8 of the amplitude.
    EXPECT_NEAR(half.rms / full.rms, 0.125, 0.01);

    p.volume(1000, 1000);  // the full-screen bar sends ten times the percentage
    const Capture clamped = PlayAndCapture(p);
    EXPECT_NEAR(clamped.rms / full.rms, 1.0, 0.02);

    p.mute_set(true);
    const Capture muted = PlayAndCapture(p);
    printf("muted: %zu samples, peak %d\n", muted.samples.size(), muted.peak);
    EXPECT_GT(muted.samples.size(), 44100u / 2);
    EXPECT_EQ(muted.peak, 0);
    EXPECT_TRUE(p.get_mute());

    p.mute_set(false);
    p.volume(0, 0);
    EXPECT_EQ(PlayAndCapture(p).peak, 0);
}
}
