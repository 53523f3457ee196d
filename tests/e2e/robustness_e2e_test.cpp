// The real Morvane.exe where it used to go wrong: an arrow key on the focused seek
// slider seeks and the thumb goes on following the file; Alt+F4 on the full-screen
// picture ends the player as its close button does; a file that cannot be played is
// named in the title with "无法播放" and the list goes on to the next good file.
#include <gtest/gtest.h>

#include <windows.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "e2e/e2e_start.h"

namespace {

using namespace e2e;

constexpr const wchar_t* kCannotPlay = L"无法播放";
constexpr int kLongClipSeconds = 60;

// Seconds of a clock text, -1 for one not read.
int Seconds(const std::wstring& clock) {
    int h = 0, m = 0, s = 0;
    return swscanf(clock.c_str(), L"%d:%d:%d", &h, &m, &s) == 3 ? (h * 60 + m) * 60 + s : -1;
}

class RobustnessEndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const std::vector<std::wstring> clocks = ClockTexts(kLongClipSeconds);
        SettingsLayout settings;
        BarLayout bar;
        s_error = RenderReferences({kPlaying, kPaused, L"停止", L"加载中请等待...", kCannotPlay}, clocks, s_refs,
                                   settings, bar);
    }

    void SetUp() override {
        ASSERT_TRUE(s_error.empty()) << Utf8(s_error);
        ASSERT_FALSE(run.work.empty()) << "run through run_e2e.sh, which sets MORVANE_E2E_DIR";
        const std::wstring copied = PrivateCopy(run.folder);
        ASSERT_TRUE(copied.empty()) << Utf8(copied);
    }

    // Starts the player in the media folder, adds names through its dialog and plays
    // the first row until plays() holds.
    ::testing::AssertionResult StartPlaying(const std::wstring& names, const std::function<bool()>& plays) {
        player = std::make_unique<PlayerProcess>(run.exe, run.media);
        if (::testing::AssertionResult shown = AwaitMainWindow(*player, main); !shown) return shown;
        screen = std::make_unique<PlayerScreen>(main, s_refs);
        PlayerScreen& seen = *screen;
        if (::testing::AssertionResult ready = seen.Await("started", [&] { return seen.ListIs(s_refs.listEmpty); }, 15000);
            !ready)
            return ready;
        if (::testing::AssertionResult added = AddThroughDialog(*player, seen, s_refs.layout.add, names, run.media); !added)
            return added;
        if (::testing::AssertionResult listed = seen.Await("added", [&] { return !seen.ListIs(s_refs.listEmpty); }, 10000);
            !listed)
            return listed;
        Press(seen.CenterOf(s_refs.layout.play));
        return seen.Await("plays", [&] { return seen.Status() == kPlaying && plays(); }, 20000);
    }

    static inline References s_refs;
    static inline std::wstring s_error;
    RunFolders run;
    std::unique_ptr<PlayerProcess> player;
    HWND main = nullptr;
    std::unique_ptr<PlayerScreen> screen;
};

TEST_F(RobustnessEndToEnd, RightOnTheFocusedSeekSliderSeeksAndTheThumbKeepsMoving) {
    ASSERT_TRUE(StartPlaying(L"\"long.mkv\"", [&] { return screen->ShowsSecondClip(); }));

    // A click near the slider's start gives it the keyboard (and seeks there).
    const RECT& seek = s_refs.layout.seek;
    ASSERT_FALSE(IsRectEmpty(&seek));
    Press(screen->OnScreen({seek.left + (seek.right - seek.left) / 20, (seek.top + seek.bottom) / 2}));
    ASSERT_TRUE(screen->Await("clicked", [&] { return screen->Status() == kPlaying && Seconds(screen->Clock()) >= 0; }, 5000));
    ASSERT_LT(Seconds(screen->Clock()), 40) << "the click did not seek near the start";
    const int before = Seconds(screen->Clock());

    // Right moves the file by five seconds: sooner than the clock could run there.
    PressKey(VK_RIGHT);
    ASSERT_TRUE(screen->Await("right", [&] { return Seconds(screen->Clock()) >= before + 5; }, 2500))
        << "from " << before << " s";

    // And the thumb goes on following playback.
    const Patch thumbAt = Cut(screen->Shot(), seek);
    ASSERT_TRUE(screen->Await("thumb moves", [&] { return !(Cut(screen->Shot(), seek) == thumbAt); }, 5000))
        << "the seek slider stands still while the clock reads " << Utf8(screen->Clock());
    EXPECT_EQ(screen->Status(), kPlaying);
}

TEST_F(RobustnessEndToEnd, AltF4OnTheFullScreenPictureEndsThePlayer) {
    ASSERT_TRUE(StartPlaying(L"\"long.mkv\"", [&] { return screen->ShowsSecondClip(); }));
    HWND video = FindDescendant(main, L"VideoRealWnd");
    ASSERT_NE(video, nullptr);

    DoubleClickAt(screen->CenterOf(s_refs.layout.playRegion));
    const RECT screenRc = ScreenRect();
    ASSERT_TRUE(testsupport::PumpUntil([&] {
        RECT rc{};
        GetWindowRect(video, &rc);
        return EqualRect(&rc, &screenRc) && !(GetWindowLongW(video, GWL_STYLE) & WS_CHILD);
    }, 5000)) << "the picture does not cover the screen";

    PressChord(VK_MENU, VK_F4);
    EXPECT_EQ(player->ExitCode(15000), 0) << (IsWindow(video) ? "the picture lives on" : "the picture is gone, the player not");
}

TEST_F(RobustnessEndToEnd, ABadFileBetweenTwoGoodOnesIsNamedAndPassedOver) {
    // Not a video at all: the engine refuses it.
    const std::string junk(4096, 'x');
    HANDLE bad = CreateFileW((run.media + L"\\bad.mp4").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(bad, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(bad, junk.data(), static_cast<DWORD>(junk.size()), &written, nullptr);
    CloseHandle(bad);

    ASSERT_TRUE(StartPlaying(L"\"first.mp4\" \"bad.mp4\" \"second.mkv\"",
                             [&] { return screen->ShowsTestPattern(); }));
    ASSERT_TRUE(screen->Await("cannot play", [&] { return screen->Status() == kCannotPlay; }, 15000));
    screen->Save(L"e2e-cannot-play.png");
    ASSERT_TRUE(screen->Await("next good file", [&] { return screen->Status() == kPlaying && screen->ShowsSecondClip(); }, 15000));
    EXPECT_TRUE(player->Running());
}

} // namespace
