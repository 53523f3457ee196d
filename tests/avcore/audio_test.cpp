// Sound as it reaches the device: the ALSA file sink under test records every sample played, in the format
// the engine opened the device with. A file with two audio tracks (440 Hz tagged Chinese, 880 Hz tagged English,
// each in its own rate and channels): both are listed; a switch while playing changes the tone at the same place.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "avcore/avplayer_seams.h"
#include "player_steps.h"
#include "tone_pitch.h"

namespace {

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
    EXPECT_TRUE(avtest::Open(p));
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
        ASSERT_TRUE(avtest::Open(p));
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
// The longest run of silence in frames: where the sink ran dry.
size_t LongestSilence(const std::vector<int16_t>& samples, int channels)
{
    size_t run = 0, longest = 0;
    for (size_t i = 0; i < samples.size(); i += static_cast<size_t>(channels)) {
        run = samples[i] == 0 ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

// The track number with this language, 0 when none.
int TrackOf(const std::vector<struct avplayer::audio_track>& tracks, const wchar_t* language)
{
    for (const auto& t : tracks)
        if (t.language == language) return t.number;
    return 0;
}

TEST(PlayerAudioTracks, ListedWithLanguageAndChannelsAndRefusedOutOfRange)
{
    avplayer p;
    EXPECT_TRUE(p.audio_tracks().empty());
    EXPECT_EQ(p.audio_track(), 0);
    EXPECT_FALSE(p.set_audio_track(1));

    ASSERT_TRUE(avtest::Open(p, "twotrack.mp4"));
    const auto tracks = p.audio_tracks();
    ASSERT_EQ(tracks.size(), 2u);
    // The platform decides the order (Wine lists them backwards); the tags say which is which.
    const int zh = TrackOf(tracks, L"zh"), en = TrackOf(tracks, L"en");
    ASSERT_TRUE(zh && en) << "languages not reported";
    EXPECT_EQ(tracks[zh - 1].channels, 2);
    EXPECT_EQ(tracks[en - 1].channels, 1);
    EXPECT_EQ(p.audio_track(), 1);
    for (int bad : {0, 3, -1}) EXPECT_FALSE(p.set_audio_track(bad)) << bad;
    EXPECT_EQ(p.audio_track(), 1);

    ASSERT_TRUE(avtest::Open(p));
    ASSERT_EQ(p.audio_tracks().size(), 1u);
    EXPECT_TRUE(p.set_audio_track(1));
    ASSERT_TRUE(avtest::Open(p, "noaudio.mp4"));
    EXPECT_TRUE(p.audio_tracks().empty());
    EXPECT_EQ(p.audio_track(), 0);
}

TEST(PlayerAudioTracks, SwitchWhilePlayingChangesTheToneAtTheSamePosition)
{
    const std::wstring capture = avtest::CapturePath();
    if (capture.empty()) GTEST_SKIP() << "no ALSA file sink (MORVANE_AUDIO_CAPTURE unset)";
    DeleteFileW(capture.c_str());
    avtest::TestWindow w(320, 240);
    avtest::WindowedPlayer p(w);
    p.volume(100, 100);
    ASSERT_TRUE(avtest::Open(p, "twotrack.mp4"));
    const auto tracks = p.audio_tracks();
    const int zh = TrackOf(tracks, L"zh"), en = TrackOf(tracks, L"en");
    ASSERT_TRUE(zh && en);
    // Chosen before play, as the player restores a remembered track.
    ASSERT_TRUE(p.set_audio_track(zh));
    p.play(0.5, 0);
    ASSERT_TRUE(PumpUntil([&] { return p.curr_play_time() >= 2.0; }, 5000));
    const int channels = avplayer_probe::audioChannels(p), rate = avplayer_probe::audioRate(p);
    const size_t before = ReadSamples(capture).size();

    const double at = p.curr_play_time(), asked = avtest::Seconds();
    ASSERT_TRUE(p.set_audio_track(en));
    EXPECT_EQ(p.audio_track(), en);
    ASSERT_TRUE(PumpUntil([&] { return p.curr_play_time() > at + 0.05; }, 3000));
    const double switchMs = (avtest::Seconds() - asked) * 1000.0;
    RecordProperty("switch_ms", std::to_string(switchMs));
    EXPECT_NEAR(p.curr_play_time(), at + switchMs / 1000.0, 0.4) << "the switch moved the position";
    ASSERT_TRUE(PumpUntil([&] { return p.curr_play_time() >= at + 1.5; }, 5000));
    EXPECT_EQ(p.audio_track(), en);
    p.stop();
    p.close();

    const std::vector<int16_t> all = ReadSamples(capture);
    ASSERT_GT(all.size(), before);
    const std::vector<int16_t> first(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(before));
    const std::vector<int16_t> second(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
    const double low = avtest::TonePitch(first, channels, rate), high = avtest::TonePitch(second, channels, rate);
    RecordProperty("pitch_before", std::to_string(low));
    RecordProperty("pitch_after", std::to_string(high));
    EXPECT_NEAR(low, 440.0, 440.0 * 0.02);
    EXPECT_NEAR(high, 880.0, 880.0 * 0.02);
    // How long the track before was still heard: the sink writes as the device plays.
    const size_t block = static_cast<size_t>(rate / 50) * channels;
    size_t heard = 0;
    while (heard + block <= second.size() &&
           std::abs(avtest::TonePitch({second.begin() + heard, second.begin() + heard + block}, channels, rate,
                                      block / channels) - 880.0) > 880.0 * 0.02)
        heard += block;
    RecordProperty("new_tone_after_ms", std::to_string(1000.0 * heard / channels / rate));
    // The tone itself never crosses zero on a sample; only a dry sink writes runs of zeros.
    const double gapMs = 1000.0 * LongestSilence(second, channels) / rate;
    RecordProperty("gap_ms", std::to_string(gapMs));
    EXPECT_LT(gapMs, 300.0);
}

// A decoder that may not open the path reads the player's handle and cannot open the
// file a second time: the track is switched in its one reader, at the same position.
TEST(PlayerAudioTracks, SwitchOnAFileReadThroughThePlayersHandle)
{
    avtest::TestWindow w(320, 240);
    avtest::WindowedPlayer p(w);
    avplayer_seams::install(p, {{avcore::ReaderFault::PathDenied, 0}, {}});
    ASSERT_TRUE(avtest::Open(p, "twotrack.mp4"));
    ASSERT_TRUE(avtest::PlayPast(p, 1.0, 5000));
    const int other = p.audio_track() == 1 ? 2 : 1;
    const double at = p.curr_play_time();
    ASSERT_TRUE(p.set_audio_track(other));
    ASSERT_TRUE(PumpUntil([&] { return p.curr_play_time() >= at + 1.0; }, 5000)) << "stopped after the switch";
    EXPECT_EQ(p.audio_track(), other);
    EXPECT_LT(p.curr_play_time(), at + 2.5) << "the switch moved the position";
}

} // namespace
