// The real Morvane.exe where it used to go wrong: an arrow key on the focused seek
// slider seeks and the thumb goes on following the file; Alt+F4 on the full-screen
// picture ends the player as its close button does; a file that cannot be played is
// named in the title with "无法播放" and the list goes on to the next good file.
#include "e2e/e2e_start.h"

namespace {

using namespace e2e;

constexpr const wchar_t* kCannotPlay = L"无法播放";
constexpr int kLongClipSeconds = 60;

class RobustnessEndToEnd : public PlayerTest {
protected:
    static void SetUpTestSuite() {
        s_error = RenderReferences({kPlaying, kPaused, L"停止", L"加载中请等待...", kCannotPlay},
                                   ClockTexts(kLongClipSeconds), s_refs, s_settings, s_bar);
    }

    void SetUp() override {
        ASSERT_TRUE(s_error.empty()) << Utf8(s_error);
        ASSERT_FALSE(run.work.empty()) << "run through run_e2e.sh, which sets MORVANE_E2E_DIR";
        refs = s_refs;
    }

    static inline References s_refs;
    static inline SettingsLayout s_settings;
    static inline BarLayout s_bar;
    static inline std::wstring s_error;
};

TEST_F(RobustnessEndToEnd, RightOnTheFocusedSeekSliderSeeksAndTheThumbKeepsMoving) {
    ASSERT_TRUE(StartPlaying(L"\"long.mkv\"", [&] { return screen.ShowsSecondClip(); }));

    // A click near the slider's start gives it the keyboard (and seeks there).
    const RECT& seek = refs.layout.seek;
    ASSERT_FALSE(IsRectEmpty(&seek));
    Press(screen.OnScreen({seek.left + (seek.right - seek.left) / 20, (seek.top + seek.bottom) / 2}));
    ASSERT_TRUE(screen.Await("clicked", [&] { return screen.Status() == kPlaying && ClockSeconds(screen.Clock()) >= 0; }, 5000));
    ASSERT_LT(ClockSeconds(screen.Clock()), 40) << "the click did not seek near the start";
    const int before = ClockSeconds(screen.Clock());

    // Right moves the file by five seconds: sooner than the clock could run there.
    PressKey(VK_RIGHT);
    ASSERT_TRUE(screen.Await("right", [&] { return ClockSeconds(screen.Clock()) >= before + 5; }, 2500))
        << "from " << before << " s";

    // And the thumb goes on following playback.
    const Patch thumbAt = Cut(screen.Shot(), seek);
    ASSERT_TRUE(screen.Await("thumb moves", [&] { return !(Cut(screen.Shot(), seek) == thumbAt); }, 5000))
        << "the seek slider stands still while the clock reads " << Utf8(screen.Clock());
    EXPECT_EQ(screen.Status(), kPlaying);
}

TEST_F(RobustnessEndToEnd, AltF4OnTheFullScreenPictureEndsThePlayer) {
    ASSERT_TRUE(StartPlaying(L"\"long.mkv\"", [&] { return screen.ShowsSecondClip(); }));
    HWND video = FindDescendant(main, L"VideoRealWnd");
    ASSERT_NE(video, nullptr);

    DoubleClickAt(screen.CenterOf(refs.layout.playRegion));
    ASSERT_TRUE(testsupport::PumpUntil([&] { return CoversScreen(video); }, 5000))
        << "the picture does not cover the screen";

    PressChord(VK_MENU, VK_F4);
    EXPECT_EQ(player->ExitCode(15000), 0) << (IsWindow(video) ? "the picture lives on" : "the picture is gone, the player not");
}

TEST_F(RobustnessEndToEnd, ABadFileBetweenTwoGoodOnesIsNamedAndPassedOver) {
    // Not a video at all: the engine refuses it.
    ASSERT_TRUE(WriteFileBytes(run.media + L"\\bad.mp4", std::string(4096, 'x')));

    ASSERT_TRUE(StartPlaying(L"\"first.mp4\" \"bad.mp4\" \"second.mkv\"",
                             [&] { return screen.ShowsTestPattern(); }));
    ASSERT_TRUE(screen.Await("cannot play", [&] { return screen.Status() == kCannotPlay; }, 15000));
    screen.Save(L"e2e-cannot-play.png");
    ASSERT_TRUE(screen.Await("next good file", [&] { return screen.Status() == kPlaying && screen.ShowsSecondClip(); }, 15000));
    EXPECT_TRUE(player->Running());
}

} // namespace
