// A file with two audio tracks (440 Hz tagged Chinese, 880 Hz tagged English, each in its
// own rate and channels): both are listed, and a switch while playing changes the tone
// that reaches the device at the same position.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "avcore/avplayer.h"
#include "avcore/avplayer_probe.h"
#include "avcore/avplayer_seams.h"
#include "media_env.h"
#include "support/pump.h"
#include "tone_pitch.h"

namespace {

using avtest::MediaPath;
using avtest::ReadSamples;
using testsupport::PumpUntil;

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

    ASSERT_NE(p.open(MediaPath("twotrack.mp4").c_str(), 0, 2, 0, 0), 0);
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

    ASSERT_NE(p.open(MediaPath("clip.mp4").c_str(), 0, 2, 0, 0), 0);
    ASSERT_EQ(p.audio_tracks().size(), 1u);
    EXPECT_TRUE(p.set_audio_track(1));
    ASSERT_NE(p.open(MediaPath("noaudio.mp4").c_str(), 0, 2, 0, 0), 0);
    EXPECT_TRUE(p.audio_tracks().empty());
    EXPECT_EQ(p.audio_track(), 0);
}

TEST(PlayerAudioTracks, SwitchWhilePlayingChangesTheToneAtTheSamePosition)
{
    const std::wstring capture = avtest::CapturePath();
    if (capture.empty()) GTEST_SKIP() << "no ALSA file sink (MORVANE_AUDIO_CAPTURE unset)";
    DeleteFileW(capture.c_str());
    avtest::TestWindow w(320, 240);
    avplayer p;
    p.subclasswindow(w.hwnd(), 1);
    p.volume(100, 100);
    ASSERT_NE(p.open(MediaPath("twotrack.mp4").c_str(), 0, 2, 0, 0), 0);
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
    avplayer p;
    p.subclasswindow(w.hwnd(), 1);
    avplayer_seams::install(p, {{avcore::ReaderFault::PathDenied, 0}, {}});
    ASSERT_NE(p.open(MediaPath("twotrack.mp4").c_str(), 0, 2, 0, 0), 0);
    p.play(0, 0);
    ASSERT_TRUE(PumpUntil([&] { return p.curr_play_time() >= 1.0; }, 5000));
    const int other = p.audio_track() == 1 ? 2 : 1;
    const double at = p.curr_play_time();
    ASSERT_TRUE(p.set_audio_track(other));
    ASSERT_TRUE(PumpUntil([&] { return p.curr_play_time() >= at + 1.0; }, 5000)) << "stopped after the switch";
    EXPECT_EQ(p.audio_track(), other);
    EXPECT_LT(p.curr_play_time(), at + 2.5) << "the switch moved the position";
}

} // namespace
