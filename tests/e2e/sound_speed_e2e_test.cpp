// The real Morvane.exe with a file of sound alone on its command line: it plays, its
// clock runs, and after ] ] the clock runs at one and a half seconds a second.
#include <gtest/gtest.h>

#include <windows.h>
#include <string>
#include <vector>
#include "e2e/e2e_start.h"

namespace {

using namespace e2e;

TEST(SoundAndSpeedEndToEnd, AFileOfSoundAlonePlaysAndTwoStepsUpMakeItsClockRunHalfAgainAsFast) {
    const RunFolders run;
    ASSERT_FALSE(run.work.empty()) << "run through run_e2e.sh, which sets MORVANE_E2E_DIR";
    const std::wstring tone = run.media + L"\\tone.m4a";
    const std::wstring faster = L"正在播放 1.5x";

    const std::vector<std::wstring> clocks = ClockTexts(59);
    References refs;
    SettingsLayout settings;
    BarLayout bar;
    const std::wstring error = RenderReferences({kPlaying, kPaused, faster}, clocks, refs, settings, bar);
    ASSERT_TRUE(error.empty()) << Utf8(error);
    const std::wstring copied = PrivateCopy(run.folder);
    ASSERT_TRUE(copied.empty()) << Utf8(copied);

    PlayerProcess player(run.exe, run.media, L"\"" + tone + L"\"");
    HWND main = nullptr;
    ASSERT_TRUE(AwaitMainWindow(player, main));
    PlayerScreen screen(main, refs);
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
        int seen = -1;
        bool first = true;
        return screen.Await("clock-ticks", [&] {
            const int now = ClockSeconds(screen.Clock());
            if (first) seen = now, first = false;
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

} // namespace
