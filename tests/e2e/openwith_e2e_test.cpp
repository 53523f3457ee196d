// The real Morvane.exe started with a file, as Explorer's "Open with" starts it: a
// name outside the ANSI code page plays, and a second start with another file hands
// it to the first window, which plays it, and ends with 0.
#include "e2e/e2e_start.h"

namespace {

using namespace e2e;

using OpenWithEndToEnd = PlayerTest;

TEST_F(OpenWithEndToEnd, AFileOnTheCommandLinePlaysAndASecondStartHandsItsFileOver) {
    ASSERT_FALSE(run.work.empty()) << "run through run_e2e.sh, which sets MORVANE_E2E_DIR";
    // Neither 视频 nor Ω has an ANSI form here: the engine gets the short name.
    const std::wstring wide = run.media + L"\\视频-Ωmega.mp4";
    ASSERT_TRUE(CopyFileW((run.media + L"\\first.mp4").c_str(), wide.c_str(), FALSE));
    const ListedFile first{wide, L"视频-Ωmega.mp4"};
    const ListedFile second{run.media + L"\\second.mkv", L"second.mkv"};
    ASSERT_TRUE(Render(first, second, {kPlaying, kPaused, L"停止"}, ClockTexts(9)));

    ASSERT_TRUE(Start(L"\"" + wide + L"\""));
    ASSERT_TRUE(screen.Await("command-line-file-plays", [&] {
        return screen.Status() == kPlaying && screen.ShowsTestPattern() && screen.Total() == L"00:00:04";
    }, 20000));
    screen.Save(L"e2e-openwith-first.png");

    PlayerProcess again(run.exe, run.media, L"\"" + second.fullPath + L"\"");
    EXPECT_EQ(again.ExitCode(30000), 0);
    ASSERT_TRUE(screen.Await("forwarded-file-plays", [&] {
        return screen.Status() == kPlaying && screen.ShowsSecondClip() && screen.Total() == L"00:00:08";
    }, 20000));
    screen.Save(L"e2e-openwith-forwarded.png");
    EXPECT_TRUE(player->Running());
}

} // namespace
