// The real Morvane.exe with a file of sound alone on its command line: it plays, its
// clock runs, and after ] ] the clock runs at one and a half seconds a second. With a
// file of two tracks, choosing the other in the picture's menu changes the tone heard.
#include "e2e/e2e_start.h"
#include "avcore/tone_pitch.h"
#include "support/paths.h"

namespace {

using namespace e2e;

using SoundAndSpeedEndToEnd = PlayerTest;

TEST_F(SoundAndSpeedEndToEnd, AFileOfSoundAlonePlaysAndTwoStepsUpMakeItsClockRunHalfAgainAsFast) {
    ASSERT_FALSE(run.work.empty()) << "run through run_e2e.sh, which sets MORVANE_E2E_DIR";
    const std::wstring faster = L"正在播放 1.5x";
    ASSERT_TRUE(Render({kPlaying, kPaused, faster}, ClockTexts(59)));
    ASSERT_TRUE(Start(L"\"" + run.media + L"\\tone.m4a\""));
    ASSERT_TRUE(screen.Await("sound-only-plays", [&] {
        return screen.Status() == kPlaying && screen.Total() == L"00:00:40" && ClockSeconds(screen.Clock()) >= 1;
    }, 20000));
    ASSERT_TRUE(screen.Await("its-clock-advances", [&] { return ClockSeconds(screen.Clock()) >= 3; }, 10000));
    screen.Save(L"e2e-sound-only.png");

    SetForegroundWindow(main);
    PressKey(VK_OEM_6);
    PressKey(VK_OEM_6);
    ASSERT_TRUE(screen.Await("status-shows-the-speed", [&] { return screen.Status() == faster; }, 5000));

    // From one change of the clock's second to one six seconds later.
    auto awaitTick = [&](int& seconds, double& at) {
        const int seen = screen.Capture() ? ClockSeconds(screen.Clock()) : -1;
        return screen.Await("clock-ticks", [&] {
            const int now = ClockSeconds(screen.Clock());
            if (now < 0 || now == seen) return false;
            seconds = now;
            at = GetTickCount64() / 1000.0;
            return true;
        }, 5000);
    };
    int from = 0, to = 0;
    double fromAt = 0, toAt = 0;
    ASSERT_TRUE(awaitTick(from, fromAt));
    ASSERT_TRUE(screen.Await("six-media-seconds", [&] { return ClockSeconds(screen.Clock()) >= from + 6; }, 15000));
    ASSERT_TRUE(awaitTick(to, toAt));
    const double rate = (to - from) / (toAt - fromAt);
    RecordProperty("clock_seconds_per_second", std::to_string(rate));
    EXPECT_NEAR(rate, 1.5, 0.2);
    screen.Save(L"e2e-sound-faster.png");
}

// 2 when every frame's two samples agree (the tone is the same in both), else 1.
int ChannelsOf(const std::vector<int16_t>& samples) {
    for (size_t i = 0; i + 1 < samples.size(); i += 2)
        if (samples[i] != samples[i + 1]) return 1;
    return 2;
}

TEST_F(SoundAndSpeedEndToEnd, TheOtherAudioTrackFromThePictureMenuChangesTheTone) {
    const std::wstring media = testsupport::WindowsPathFromEnv("MORVANE_MEDIA");
    const std::wstring capture = testsupport::WindowsPathFromEnv("MORVANE_AUDIO_CAPTURE");
    ASSERT_FALSE(run.work.empty()) << "run through run_e2e.sh, which sets MORVANE_E2E_DIR";
    if (media.empty() || capture.empty()) GTEST_SKIP() << "no generated media or no ALSA file sink";
    ASSERT_TRUE(Render({kPlaying, kPaused}, ClockTexts(5)));
    ASSERT_TRUE(Start(L"\"" + media + L"\\twotrack.mp4\""));
    // Past its first second the device is open and its capture begun.
    ASSERT_TRUE(screen.Await("two-tracks-play", [&] {
        return screen.Status() == kPlaying && ClockSeconds(screen.Clock()) >= 1;
    }, 20000));
    // About a second of the first track, then the menu: 音轨 is the seventh line from the
    // bottom (the keys skip only separators), its first line the track playing.
    constexpr size_t kWindow = 88200;
    const size_t start = avtest::ReadSamples(capture).size();
    ASSERT_TRUE(testsupport::PumpUntil([&] { return avtest::ReadSamples(capture, start).size() >= kWindow; }, 8000));
    const std::vector<int16_t> before = avtest::ReadSamples(capture, start);
    RightClickAt(screen.CenterOf(refs.layout.playRegion));
    ASSERT_TRUE(testsupport::PumpUntil([&] { return FindTopWindow(player->Id(), L"#32768") != nullptr; }, 5000)) << "no menu";
    for (int i = 0; i < 7; ++i) PressKey(VK_UP);
    PressKey(VK_RIGHT);
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return FindTopWindow(player->Id(), L"#32768") == nullptr; }, 3000));
    // What was queued for the device before the switch passes first.
    const size_t switched = avtest::ReadSamples(capture).size() + kWindow / 2;
    ASSERT_TRUE(testsupport::PumpUntil([&] { return avtest::ReadSamples(capture, switched).size() >= kWindow; }, 8000));
    const std::vector<int16_t> after = avtest::ReadSamples(capture, switched);

    // The device's format is the file's first track's, whatever it is: the ratio of the
    // two tones tells the change (440 Hz and 880 Hz, in either order). Under load the sink
    // runs dry every few tens of milliseconds and pads with silence: blocks of 10 ms find
    // the stretches of tone between.
    const int channels = ChannelsOf(before);
    const double first = avtest::TonePitch(before, channels, 44100, 441);
    const double second = avtest::TonePitch(after, channels, 44100, 441);
    RecordProperty("tone_ratio", std::to_string(second / first));
    ASSERT_GT(first, 0.0);
    const double ratio = second > first ? second / first : first / second;
    EXPECT_NEAR(ratio, 2.0, 0.06) << first << " then " << second;
    EXPECT_EQ(screen.Status(), kPlaying);
}

} // namespace
