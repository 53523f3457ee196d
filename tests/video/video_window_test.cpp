// The video window inside a real main window: gestures on the picture, the fit over
// "playregion", full screen and back, and what the play region shows before any file.
#include <algorithm>
#include <map>
#include "support/screenshot.h"
#include "video/PlayBarRules.h"
#include "video_fixture.h"

using namespace DuiLib;
using namespace videotest;

namespace {

const RECT kScreen = ScreenRect();

class VideoWindowTest : public VideoFixture {
protected:
    // Two real presses at the picture's centre: the system makes the second one a
    // double-click only for a window class that asks for it. A windowed picture goes on
    // top for the moment, so windows of tests running beside us cannot take the input.
    void DoubleClickVideo() {
        const int toggled = !video->m_bFullScreen;
        if (!video->m_bFullScreen)
            SetWindowPos(hMain, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        const RECT rc = WindowRectOf(hVideo);
        SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        INPUT input[4]{};
        for (int i = 0; i < 4; ++i) {
            input[i].type = INPUT_MOUSE;
            input[i].mi.dwFlags = i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
        }
        SendInput(4, input, sizeof(INPUT));
        PumpUntil([&] { return video->m_bFullScreen == toggled; });
        SetWindowPos(hMain, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    void ResizeMain(int cx, int cy) { SetWindowPos(hMain, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER); }
    size_t FitCount() const { return timers.Ticks(kTimerFitVideo, hMain).size(); }

    apptest::TimerLog timers;
};

TEST_F(VideoWindowTest, SpaceEnterAndClickPauseOrResumeByStatus) {
    const std::map<int, Commands> byStatus = {
        {0, {}}, {1, {"pause()"}}, {2, {"resume()"}}, {3, {}}, {4, {}}};
    const std::pair<const char*, std::function<void()>> gestures[] = {
        {"space", [&] { PressKey(VK_SPACE); }},
        {"enter", [&] { PressKey(VK_RETURN); }},
        {"click", [&] { ClickVideo(); }},
    };
    for (const auto& [name, gesture] : gestures) {
        for (const auto& [status, expected] : byStatus) {
            engine().script.status = status;
            engine().Clear();
            gesture();
            EXPECT_EQ(engine().CommandTexts(), expected) << name << " at status " << status;
        }
        // Without the main window nothing is asked of the engine, and nothing breaks.
        g_pMainFrame = nullptr;
        engine().script.status = 1;
        engine().Clear();
        gesture();
        g_pMainFrame = frame;
        EXPECT_TRUE(engine().Commands().empty()) << name << " without the main window";
    }
    EXPECT_EQ(video->m_bFullScreen, 0);
}

TEST_F(VideoWindowTest, DoubleClickTogglesFullScreenAndKeepsPlaying) {
    engine().script.status = 1;
    for (int expected : {1, 0}) {
        engine().Clear();
        DoubleClickVideo();
        // The second release may still be on its way through the input queue.
        PumpUntil([&] { return engine().CommandTexts().size() >= 2; });
        EXPECT_EQ(video->m_bFullScreen, expected);
        EXPECT_EQ(engine().CommandTexts(), (Commands{"pause()", "resume()"}));
        EXPECT_EQ(engine().script.status, 1);
    }
}

TEST_F(VideoWindowTest, ResizeBurstFitsOnceOverThePlayRegion) {
    const RECT before = WindowRectOf(hVideo);
    timers.Clear();
    ULONGLONG last = 0;
    for (int i = 0; i < 6; ++i) {
        ResizeMain(900 + 20 * i, 640 + 10 * i);
        last = GetTickCount64();
        // A drag's pace: each change inside the fit delay of the one before, however
        // slowly this machine runs the loop.
        testsupport::PumpIdleHoldingTimers();
    }
    EXPECT_EQ(Text(WindowRectOf(hVideo)), Text(before)) << "fitted during the burst";
    ASSERT_TRUE(PumpUntil([&] { return CoversRegion(); }));
    EXPECT_EQ(FitCount(), 1u);
    EXPECT_GE(timers.Ticks(kTimerFitVideo, hMain).back() - last, 90u);
    EXPECT_FALSE(KillTimer(hMain, kTimerFitVideo)) << "another fit is pending";
}

TEST_F(VideoWindowTest, EveryTriggerEntersFullScreenAndReturnsToTheSamePlace) {
    const std::pair<const char*, std::function<void()>> triggers[] = {
        {"escape on the picture", [&] { PressKey(VK_ESCAPE); }},
        {"double-click", [&] { DoubleClickVideo(); }},
        {"btn_fullscreen", [&] { apptest::ClickControl(frame, L"btn_fullscreen"); }},
        {"escape on the main window", [&] { PostMessageW(hMain, WM_KEYDOWN, VK_ESCAPE, 1); testsupport::PumpIdle(); }},
    };
    const RECT windowed = WindowRectOf(hVideo);
    const LONG childStyle = GetWindowLongW(hVideo, GWL_STYLE);
    for (const auto& [name, toggle] : triggers) {
        SCOPED_TRACE(name);
        toggle();
        ASSERT_EQ(video->m_bFullScreen, 1);
        EXPECT_EQ(Text(WindowRectOf(hVideo)), Text(kScreen));
        EXPECT_EQ(GetAncestor(hVideo, GA_PARENT), GetDesktopWindow());
        EXPECT_EQ(GetWindowLongW(hVideo, GWL_STYLE) & (WS_POPUP | WS_CHILD), WS_POPUP);
        EXPECT_TRUE(GetWindowLongW(hVideo, GWL_EXSTYLE) & WS_EX_TOPMOST);

        toggle();
        ASSERT_EQ(video->m_bFullScreen, 0);
        EXPECT_EQ(GetWindowLongW(hVideo, GWL_STYLE), childStyle);
        EXPECT_EQ(GetParent(hVideo), hMain);
        EXPECT_FALSE(GetWindowLongW(hVideo, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_EQ(Text(WindowRectOf(hVideo)), Text(windowed));
    }
}

TEST_F(VideoWindowTest, ResizeInFullScreenWaitsAndLeavingShowsTheMainWindow) {
    const RECT windowed = WindowRectOf(hVideo);
    PressKey(VK_ESCAPE);
    timers.Clear();
    ResizeMain(1000, 700);
    ASSERT_TRUE(PumpUntil([&] { return FitCount() == 1; }));
    EXPECT_EQ(Text(WindowRectOf(hVideo)), Text(kScreen));

    ShowWindow(hMain, SW_HIDE);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(IsWindowVisible(hMain));
    EXPECT_TRUE(IsWindowVisible(hVideo));
    // The saved place, not the grown region: the next size change fits it.
    EXPECT_EQ(Text(WindowRectOf(hVideo)), Text(windowed));
    ResizeMain(1010, 700);
    EXPECT_TRUE(PumpUntil([&] { return CoversRegion(); }));
}

TEST_F(VideoWindowTest, WithoutPlayRegionTheWindowKeepsItsPlace) {
    apptest::Find(frame, L"playregion")->SetName(L"elsewhere");
    const RECT before = WindowRectOf(hVideo);
    timers.Clear();
    ResizeMain(1000, 700);
    ASSERT_TRUE(PumpUntil([&] { return FitCount() == 1; }));
    EXPECT_EQ(Text(WindowRectOf(hVideo)), Text(before));
}

TEST_F(VideoWindowTest, ClosingThePictureClosesThePlayerAndKeepsThePicture) {
    struct Case {
        const char* what;
        bool fullScreen;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    constexpr LPARAM kAltHeld = 1 << 29;
    const Case cases[] = {
        {"Alt+F4 in full screen", true, WM_SYSKEYDOWN, VK_F4, kAltHeld | 1},
        {"the taskbar's close in full screen", true, WM_SYSCOMMAND, SC_CLOSE, 0},
        {"WM_CLOSE in full screen", true, WM_CLOSE, 0, 0},
        {"WM_CLOSE on the windowed picture", false, WM_CLOSE, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.fullScreen != (video->m_bFullScreen != 0))
            PressKey(VK_ESCAPE);
        ASSERT_EQ(video->m_bFullScreen != 0, c.fullScreen);
        if (c.fullScreen) {
            // Owned by the main window: no taskbar entry of its own.
            EXPECT_EQ(GetWindow(hVideo, GW_OWNER), hMain);
            EXPECT_FALSE(GetWindowLongW(hVideo, GWL_EXSTYLE) & WS_EX_APPWINDOW);
        }
        PostMessageW(hVideo, c.message, c.wParam, c.lParam);
        EXPECT_TRUE(apptest::RunLibraryLoopUntilQuit(3000)) << "the player did not close";
        EXPECT_TRUE(IsWindow(hVideo)) << "the picture was destroyed";
        EXPECT_FALSE(IsWindowVisible(hMain));
        ShowWindow(hMain, SW_SHOWNORMAL);
    }
}

TEST_F(VideoWindowTest, MainWindowEndingInFullScreenTakesTheVideoWindowAlong) {
    PressKey(VK_ESCAPE);
    ASSERT_FALSE(GetWindowLongW(hVideo, GWL_STYLE) & WS_CHILD);
    g_pMainFrame = nullptr;
    DestroyWindow(hMain);
    frame = nullptr;
    EXPECT_FALSE(IsWindow(hVideo)) << "a dead top-most window would cover the screen";
}

TEST_F(VideoWindowTest, PlayRegionShowsBlackWithTheNoVideoText) {
    // A window's own picture leaves its children out: lay the video window's over
    // the main window's, where it sits.
    testsupport::Shot shot, picture;
    ASSERT_TRUE(testsupport::CaptureWindow(hMain, shot));
    ASSERT_TRUE(testsupport::CaptureWindow(hVideo, picture));
    RECT at = WindowRectOf(hVideo);
    MapWindowPoints(nullptr, hMain, reinterpret_cast<POINT*>(&at), 2);
    for (int y = 0; y < picture.height; ++y)
        std::copy_n(&picture.pixels[size_t(y) * picture.width], picture.width,
                    &shot.pixels[size_t(at.top + y) * shot.width + at.left]);
    testsupport::SaveBgraPng(reinterpret_cast<const uint8_t*>(shot.pixels.data()), shot.width, shot.height,
                             shot.width * 4, testsupport::ScreenshotPath(L"video_playregion.png").c_str());

    // Black everywhere but the white text, which stands in the middle third.
    const int third = (at.bottom - at.top) / 3;
    const RECT top{at.left, at.top, at.right, at.top + third};
    const RECT middle{at.left, at.top + third, at.right, at.bottom - third};
    EXPECT_EQ(shot.CountBright(top), 0);
    EXPECT_GT(shot.CountBright(middle), 100);
    EXPECT_EQ(shot.At(at.left + 5, at.bottom - 5), 0u);
    EXPECT_EQ(shot.At((at.left + at.right) / 2, at.top + third / 2), 0u);
}

TEST(PlayBarRules, IdleAfterFiveSecondsAlsoAcrossTheTickWrap) {
    struct Case { DWORD last, now; bool idle; };
    const Case cases[] = {
        {1000, 6000, false},
        {1000, 6001, true},
        {0xFFFFFF00u, 0xFFFFFF10u, false},   // last + 5000 wraps past now
        {0xFFFFF000u, 0x00000100u, false},   // 4352 ms across the wrap
        {0xFFFF0000u, 0x00001000u, true},    // long idle, though last + 5000 lies above now
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsPlayBarIdle(c.last, c.now), c.idle) << std::hex << c.last << " -> " << c.now;
}

} // namespace
