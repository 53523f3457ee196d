// The real Morvane.exe with the real engine, driven as a user drives it: the file dialog,
// play, a click on the picture, delete and clear. What it shows is read from the screen:
// the picture's colours, and its texts and list against the window rendered in this process.
#include "e2e/e2e_start.h"
#include "e2e/picture.h"

namespace {

using namespace e2e;

using PlayerEndToEnd = PlayerTest;

TEST_F(PlayerEndToEnd, PlaysTheChosenFilesInTurnAndKeepsPlayingThroughPauseDeleteAndClear) {
    ASSERT_FALSE(run.work.empty()) << "run through run_e2e.sh, which sets MORVANE_E2E_DIR";
    const ListedFile first{run.media + L"\\first.mp4", L"first.mp4"};
    const ListedFile second{run.media + L"\\second.mkv", L"second.mkv"};
    ASSERT_NE(GetFileAttributesW(first.fullPath.c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_NE(GetFileAttributesW(second.fullPath.c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(Render(first, second, kStatuses, ClockTexts(9)));

    // A copy of its own, so no cfg.cfg left beside the built exe changes the picture;
    // started in the media folder, where the file dialog opens.
    ASSERT_TRUE(Start());
    // Also proves the reading: the exe paints exactly as the in-process window.
    ASSERT_TRUE(screen.Await("started", [&] { return screen.Status() == L"(blank)" && screen.ListIs(refs.listEmpty) && screen.Clock() == L"00:00:00"; }, 15000));

    // Add: the dialog of the player's own process, the names typed into its name box.
    ASSERT_TRUE(Add(L"\"first.mp4\" \"second.mkv\""));
    ASSERT_TRUE(screen.Await("two rows", [&] { return screen.ListIs(refs.listTwoRows); }, 5000));
    screen.Save(L"e2e-added.png");

    // Play starts the first row: its pattern in the play region, the status, its length.
    Press(screen.CenterOf(refs.layout.play));
    ASSERT_TRUE(screen.Await("first-plays", [&] {
        return screen.Status() == kPlaying && screen.ShowsTestPattern() && screen.Total() == L"00:00:04";
    }, 20000));
    const std::wstring early = screen.Clock();
    ASSERT_NE(early, L"?") << screen.Describe();
    ASSERT_TRUE(screen.Await("first-advances", [&] {
        return screen.Status() == kPlaying && screen.ShowsTestPattern() && screen.Clock() != L"?" && screen.Clock() > early;
    }, 5000)) << "from " << Utf8(early);
    screen.Save(L"e2e-playing.png");

    // Its end starts the second row.
    ASSERT_TRUE(screen.Await("second-plays", [&] {
        return screen.Status() == kPlaying && screen.ShowsSecondClip() && screen.Total() == L"00:00:08";
    }, 15000));
    screen.Save(L"e2e-next.png");

    // A click on the picture pauses: the status says so and the clock stands.
    Press(screen.CenterOf(refs.layout.playRegion));
    ASSERT_TRUE(screen.Await("paused", [&] { return screen.Status() == kPaused; }, 5000));
    const std::wstring pausedAt = screen.Clock();
    ASSERT_NE(pausedAt, L"?") << screen.Describe();
    screen.Save(L"e2e-paused.png");
    EXPECT_FALSE(testsupport::PumpUntil([&] { return screen.Capture() && (screen.Status() != kPaused || screen.Clock() != pausedAt); }, 1200, 100))
        << "while paused: " << screen.Describe();

    // A second click, away from the first so it is no double-click, resumes.
    Press(screen.CenterOf(refs.layout.playRegion, 90, 60));
    ASSERT_TRUE(screen.Await("resumed", [&] {
        return screen.Status() == kPlaying && screen.Clock() != L"?" && screen.Clock() > pausedAt;
    }, 5000));

    // Deleting the playing row and clearing the list leave the second clip playing.
    const struct {
        const char* step;
        const RECT& button;
        const Patch& list;
    } edits[] = {{"delete", refs.layout.remove, refs.listAfterDelete}, {"clear", refs.layout.clear, refs.listEmpty}};
    for (const auto& edit : edits) {
        SCOPED_TRACE(edit.step);
        ASSERT_TRUE(screen.Capture());
        const std::wstring before = screen.Clock();
        ASSERT_NE(before, L"?") << screen.Describe();
        Press(screen.CenterOf(edit.button));
        ASSERT_TRUE(screen.Await(edit.step, [&] { return screen.ListIs(edit.list); }, 5000));
        ASSERT_TRUE(screen.Await(edit.step, [&] {
            return screen.Status() == kPlaying && screen.ShowsSecondClip() && screen.Clock() != L"?" && screen.Clock() > before;
        }, 5000)) << "from " << Utf8(before);
    }
    screen.Save(L"e2e-cleared.png");
    EXPECT_TRUE(player->Running());
}

} // namespace
