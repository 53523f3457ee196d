// The picture goes into the given window, aspect kept with black bars, while the
// window's own procedure keeps receiving its messages.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "avcore/avplayer.h"
#include "avcore/avplayer_probe.h"
#include "media_env.h"
#include "support/pump.h"
#include "support/screenshot.h"

namespace {

using avtest::MediaPath;
using avtest::TestWindow;
using testsupport::PumpUntil;

struct Shot {
    std::vector<uint32_t> px;
    int w = 0, h = 0;
    uint32_t at(int x, int y) const { return px[static_cast<size_t>(y) * w + x] & 0xFFFFFF; }
    bool black(int x, int y) const { return at(x, y) == 0; }
    bool own(int x, int y) const { return at(x, y) == 0x00A000; }  // TestWindow::kOwnColour as BGRA
    // Columns (or rows) where a middle line turns from black bar into picture.
    int firstPictureColumn() const
    {
        for (int x = 0; x < w; ++x)
            if (!black(x, h / 2)) return x;
        return w;
    }
    int firstPictureRow() const
    {
        for (int y = 0; y < h; ++y)
            if (!black(w / 2, y)) return y;
        return h;
    }
};

// What the window shows when asked to print itself (WM_PRINTCLIENT): the same drawing
// the render thread puts on screen, but not hidden by other programs' windows.
Shot Capture(HWND hwnd)
{
    Shot s;
    testsupport::CaptureWindow(hwnd, s.px, s.w, s.h);
    return s;
}

TEST(PlayerWindow, OwnProcedureKeepsItsMessages)
{
    TestWindow w(320, 240);
    avplayer p;
    ASSERT_EQ(p.subclasswindow(w.hwnd(), 1), 1);
    // Before any picture the window paints itself.
    InvalidateRect(w.hwnd(), nullptr, TRUE);
    ASSERT_TRUE(PumpUntil([&] { return w.paints > 0; }, 1000));
    EXPECT_TRUE(Capture(w.hwnd()).own(10, 10));

    ASSERT_NE(p.open(MediaPath("clip.mp4").c_str(), 0, 2, 0, 0), 0);
    p.play(0, 0);
    SetTimer(w.hwnd(), 7, 20, nullptr);
    PostMessageW(w.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(w.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(w.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(w.hwnd(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(PumpUntil([&] { return w.timers >= 3 && w.clicks == 1 && w.doubleClicks == 1; }, 2000));
    KillTimer(w.hwnd(), 7);
    EXPECT_EQ(w.keys, 2);
    const int sizes = w.sizes;
    SetWindowPos(w.hwnd(), nullptr, 0, 0, 300, 200, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_GT(w.sizes, sizes);
    // Re-attaching the same window is harmless and drawing goes on.
    EXPECT_EQ(p.subclasswindow(w.hwnd(), 1), 1);
    const auto shown = avplayer_probe::counters(p).presented;
    EXPECT_TRUE(PumpUntil([&] { return avplayer_probe::counters(p).presented > shown + 5; }, 2000));

    // After close the window is its own again.
    p.stop();
    p.close();
    const int paints = w.paints;
    PumpUntil([&] { return w.paints > paints; }, 1000);
    EXPECT_GT(w.paints, paints);
    EXPECT_TRUE(Capture(w.hwnd()).own(10, 10));
}

TEST(PlayerWindow, PictureKeepsItsAspectWithBlackBars)
{
    TestWindow w(400, 200);
    avplayer p;
    p.subclasswindow(w.hwnd(), 1);
    ASSERT_NE(p.open(MediaPath("clip.mp4").c_str(), 0, 2, 0, 0), 0);
    p.play(1.0, 0);
    ASSERT_TRUE(PumpUntil([&] { return p.curr_play_time() > 1.3; }, 3000));
    p.pause();

    // 4:3 in 400 x 200: 267 wide, centred, bars of 66 on either side.
    Shot s;
    EXPECT_TRUE(PumpUntil([&] {
        s = Capture(w.hwnd());
        return s.w == 400 && std::abs(s.firstPictureColumn() - 66) <= 2;
    }, 2000));
    ASSERT_EQ(s.w, 400);
    testsupport::SaveBgraPng(reinterpret_cast<const uint8_t*>(s.px.data()), s.w, s.h, s.w * 4,
                             testsupport::ScreenshotPath(L"avcore-window-bars.png").c_str());
    EXPECT_TRUE(s.black(0, 0) && s.black(65, 199) && s.black(399, 100) && s.black(334, 0));
    EXPECT_NEAR(s.firstPictureColumn(), 66, 2);
    EXPECT_FALSE(s.own(200, 100));
    // A resize while paused redraws the held picture in the new shape: bars above and below.
    SetWindowPos(w.hwnd(), nullptr, 0, 0, 300, 400, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_TRUE(PumpUntil([&] {
        s = Capture(w.hwnd());
        return s.h == 400 && std::abs(s.firstPictureRow() - (400 - 225) / 2) <= 2;
    }, 2000)) << s.firstPictureRow();
    EXPECT_TRUE(s.black(150, 0) && s.black(150, 399));
    EXPECT_FALSE(s.black(150, 200));

    // A repaint (another window passed over it) shows the picture again, not the window's own colour.
    const int paints = w.paints;
    InvalidateRect(w.hwnd(), nullptr, TRUE);
    EXPECT_TRUE(PumpUntil([&] { return !GetUpdateRect(w.hwnd(), nullptr, FALSE); }, 2000));  // painted by someone
    EXPECT_EQ(w.paints, paints);
    EXPECT_FALSE(Capture(w.hwnd()).own(150, 200));
}

TEST(PlayerWindow, FollowsTheWindowToFullScreenAndBack)
{
    TestWindow w(320, 240);
    avplayer p;
    p.subclasswindow(w.hwnd(), 1);
    ASSERT_NE(p.open(MediaPath("clip.mp4").c_str(), 0, 2, 0, 0), 0);
    p.play(0, 0);
    ASSERT_TRUE(PumpUntil([&] { return p.curr_play_time() > 0.3; }, 3000));

    // What the player's full-screen switch does: a top-most popup over the whole screen.
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    const LONG_PTR style = GetWindowLongPtrW(w.hwnd(), GWL_STYLE);
    SetWindowLongPtrW(w.hwnd(), GWL_STYLE, (style & ~WS_CHILD) | WS_POPUP);
    SetParent(w.hwnd(), nullptr);
    SetWindowPos(w.hwnd(), HWND_TOPMOST, 0, 0, sw, sh, SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    const auto before = avplayer_probe::counters(p).presented;
    ASSERT_TRUE(PumpUntil([&] { return avplayer_probe::counters(p).presented > before + 10; }, 3000));
    p.pause();
    testsupport::PumpIdle();
    Shot s = Capture(w.hwnd());
    testsupport::SaveBgraPng(reinterpret_cast<const uint8_t*>(s.px.data()), s.w, s.h, s.w * 4,
                             testsupport::ScreenshotPath(L"avcore-window-fullscreen.png").c_str());
    ASSERT_EQ(s.w, sw);
    const int pictureWidth = sh * 4 / 3;
    EXPECT_NEAR(s.firstPictureColumn(), (sw - pictureWidth) / 2, 2);
    EXPECT_FALSE(s.black(sw / 2, sh / 2));

    // And back into the host.
    SetWindowLongPtrW(w.hwnd(), GWL_STYLE, style);
    SetParent(w.hwnd(), avtest::HostWindow());
    SetWindowPos(w.hwnd(), HWND_NOTOPMOST, 0, 0, 320, 240, SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    p.resume();
    const auto back = avplayer_probe::counters(p).presented;
    ASSERT_TRUE(PumpUntil([&] { return avplayer_probe::counters(p).presented > back + 10; }, 3000));
    s = Capture(w.hwnd());
    EXPECT_EQ(s.w, 320);
    EXPECT_FALSE(s.black(160, 120));
    EXPECT_FALSE(s.own(160, 120));
}

TEST(PlayerWindow, EachOpenMayUseAnotherWindow)
{
    TestWindow a(320, 240), b(320, 240);
    avplayer p;
    p.subclasswindow(a.hwnd(), 1);
    ASSERT_NE(p.open(MediaPath("clip.mp4").c_str(), 0, 2, 0, 0), 0);
    p.play(0, 0);
    PumpUntil([&] { return p.curr_play_time() > 0.2; }, 3000);
    p.stop();
    p.close();
    p.subclasswindow(b.hwnd(), 1);
    ASSERT_NE(p.open(MediaPath("clip.mp4").c_str(), 0, 2, 0, 0), 0);
    EXPECT_EQ(avplayer_probe::window(p), b.hwnd());
    p.play(0, 0);
    PumpUntil([&] { return p.curr_play_time() > 0.2; }, 3000);
    // The first window paints itself again; the second shows the picture.
    const int paints = a.paints;
    InvalidateRect(a.hwnd(), nullptr, TRUE);
    EXPECT_TRUE(PumpUntil([&] { return a.paints > paints; }, 1000));
    EXPECT_TRUE(Capture(a.hwnd()).own(160, 120));
    EXPECT_FALSE(Capture(b.hwnd()).own(160, 120));
}

} // namespace
