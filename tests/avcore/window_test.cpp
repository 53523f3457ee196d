// The picture goes into the given window, aspect kept with black bars, while the window's own procedure
// keeps receiving its messages. The engine's last picture, as screenshots take it: the video's own size,
// after the shape and the effect, whatever the window's size; nothing before the first picture or after close.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "player_steps.h"
#include "support/screenshot.h"

namespace {

using avtest::TestWindow;
using testsupport::PumpUntil;

// What the window shows when asked to print itself (WM_PRINTCLIENT): the same drawing
// the render thread puts on screen, but not hidden by other programs' windows.
struct Shot : testsupport::Shot {
    Shot() = default;
    explicit Shot(HWND hwnd) { testsupport::CaptureWindow(hwnd, *this); }
    bool black(int x, int y) const { return At(x, y) == 0; }
    bool own(int x, int y) const { return At(x, y) == 0x00A000; }  // TestWindow::kOwnColour as BGRA
    // Where the middle row (across) or column (down) turns from black bar into picture.
    int firstPicture(bool across) const
    {
        const int n = across ? width : height;
        for (int i = 0; i < n; ++i)
            if (!black(across ? i : width / 2, across ? height / 2 : i)) return i;
        return n;
    }
};

TEST(PlayerWindow, OwnProcedureKeepsItsMessages)
{
    TestWindow w(320, 240);
    avplayer p;
    ASSERT_EQ(p.subclasswindow(w.hwnd(), 1), 1);
    // Before any picture the window paints itself.
    ASSERT_TRUE(avtest::PaintsItself(w));
    EXPECT_TRUE(Shot(w.hwnd()).own(10, 10));

    ASSERT_TRUE(avtest::Open(p));
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
    EXPECT_TRUE(avtest::ShowsMore(p, 5, 2000));

    // After close the window is its own again.
    p.stop();
    p.close();
    const int paints = w.paints;
    EXPECT_TRUE(PumpUntil([&] { return w.paints > paints; }, 1000));
    EXPECT_TRUE(Shot(w.hwnd()).own(10, 10));
}

TEST(PlayerWindow, PictureKeepsItsAspectWithBlackBars)
{
    TestWindow w(400, 200);
    avtest::WindowedPlayer p(w);
    ASSERT_TRUE(avtest::Open(p));
    p.play(1.0, 0);
    ASSERT_TRUE(PumpUntil([&] { return p.curr_play_time() > 1.3; }, 3000));
    p.pause();

    // 4:3 in 400 x 200: 267 wide, centred, bars of 66 on either side.
    Shot s;
    EXPECT_TRUE(PumpUntil([&] {
        s = Shot(w.hwnd());
        return s.width == 400 && std::abs(s.firstPicture(true) - 66) <= 2;
    }, 2000));
    ASSERT_EQ(s.width, 400);
    testsupport::SaveWindowPng(w.hwnd(), testsupport::ScreenshotPath(L"avcore-window-bars.png").c_str());
    EXPECT_TRUE(s.black(0, 0) && s.black(65, 199) && s.black(399, 100) && s.black(334, 0));
    EXPECT_NEAR(s.firstPicture(true), 66, 2);
    EXPECT_FALSE(s.own(200, 100));
    // A resize while paused redraws the held picture in the new shape: bars above and below.
    SetWindowPos(w.hwnd(), nullptr, 0, 0, 300, 400, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_TRUE(PumpUntil([&] {
        s = Shot(w.hwnd());
        return s.height == 400 && std::abs(s.firstPicture(false) - (400 - 225) / 2) <= 2;
    }, 2000)) << s.firstPicture(false);
    EXPECT_TRUE(s.black(150, 0) && s.black(150, 399));
    EXPECT_FALSE(s.black(150, 200));

    // A repaint (another window passed over it) shows the picture again, not the window's own colour.
    const int paints = w.paints;
    InvalidateRect(w.hwnd(), nullptr, TRUE);
    EXPECT_TRUE(PumpUntil([&] { return !GetUpdateRect(w.hwnd(), nullptr, FALSE); }, 2000));  // painted by someone
    EXPECT_EQ(w.paints, paints);
    EXPECT_FALSE(Shot(w.hwnd()).own(150, 200));
}

TEST(PlayerWindow, FollowsTheWindowToFullScreenAndBack)
{
    TestWindow w(320, 240);
    avtest::WindowedPlayer p(w);
    ASSERT_TRUE(avtest::Open(p));
    ASSERT_TRUE(avtest::PlayPast(p, 0.3));

    // What the player's full-screen switch does: a top-most popup over the whole screen.
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    const LONG_PTR style = GetWindowLongPtrW(w.hwnd(), GWL_STYLE);
    SetWindowLongPtrW(w.hwnd(), GWL_STYLE, (style & ~WS_CHILD) | WS_POPUP);
    SetParent(w.hwnd(), nullptr);
    SetWindowPos(w.hwnd(), HWND_TOPMOST, 0, 0, sw, sh, SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    ASSERT_TRUE(avtest::ShowsMore(p, 10));
    p.pause();
    testsupport::PumpIdle();
    Shot s = Shot(w.hwnd());
    testsupport::SaveWindowPng(w.hwnd(), testsupport::ScreenshotPath(L"avcore-window-fullscreen.png").c_str());
    ASSERT_EQ(s.width, sw);
    const int pictureWidth = sh * 4 / 3;
    EXPECT_NEAR(s.firstPicture(true), (sw - pictureWidth) / 2, 2);
    EXPECT_FALSE(s.black(sw / 2, sh / 2));

    // And back into the host.
    SetWindowLongPtrW(w.hwnd(), GWL_STYLE, style);
    SetParent(w.hwnd(), avtest::HostWindow());
    SetWindowPos(w.hwnd(), HWND_NOTOPMOST, 0, 0, 320, 240, SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    p.resume();
    ASSERT_TRUE(avtest::ShowsMore(p, 10));
    s = Shot(w.hwnd());
    EXPECT_EQ(s.width, 320);
    EXPECT_FALSE(s.black(160, 120));
    EXPECT_FALSE(s.own(160, 120));
}

TEST(PlayerWindow, EachOpenMayUseAnotherWindow)
{
    TestWindow a(320, 240), b(320, 240);
    avtest::WindowedPlayer p(a);
    ASSERT_TRUE(avtest::Open(p));
    avtest::PlayPast(p, 0.2);
    p.stop();
    p.close();
    p.subclasswindow(b.hwnd(), 1);
    ASSERT_TRUE(avtest::Open(p));
    EXPECT_EQ(avplayer_probe::window(p), b.hwnd());
    avtest::PlayPast(p, 0.2);
    // The first window paints itself again; the second shows the picture.
    EXPECT_TRUE(avtest::PaintsItself(a));
    EXPECT_TRUE(Shot(a.hwnd()).own(160, 120));
    EXPECT_FALSE(Shot(b.hwnd()).own(160, 120));
}

constexpr int kWidth = 318, kHeight = 178;   // odd.mp4

// Mean absolute difference of the centre's channels (a quarter of the picture each way).
double CentreDifference(const std::vector<uint8_t>& shown, const std::vector<uint8_t>& expected) {
    double sum = 0;
    int n = 0;
    for (int y = kHeight * 3 / 8; y < kHeight * 5 / 8; ++y)
        for (int x = kWidth * 3 / 8; x < kWidth * 5 / 8; ++x)
            for (int c = 0; c < 3; ++c, ++n) {
                const size_t i = (static_cast<size_t>(y) * kWidth + x) * 4 + c;
                sum += std::abs(int(shown[i]) - int(expected[i]));
            }
    return sum / n;
}

bool CornersBlack(const std::vector<uint8_t>& bgra) {
    for (size_t at : {size_t{0}, size_t{kWidth - 1}, size_t{kHeight - 1} * kWidth, size_t{kHeight} * kWidth - 1})
        if (bgra[at * 4] || bgra[at * 4 + 1] || bgra[at * 4 + 2]) return false;
    return true;
}

TEST(LastPicture, IsTheVideosOwnSizeAfterShapeAndEffect)
{
    const std::vector<uint8_t> reference = avtest::ReadMedia("odd-frame0-sited.bgra");
    ASSERT_EQ(reference.size(), size_t{kWidth} * kHeight * 4);
    std::vector<uint8_t> inverted = reference;
    for (size_t i = 0; i < reference.size(); ++i) inverted[i] = static_cast<uint8_t>(255 - reference[i]);

    // A window of another shape and size: the picture is not the window's.
    avtest::TestWindow window(200, 300);
    struct Case {
        const char* what;
        int shape, effect;
        const std::vector<uint8_t>* centre;   // what the centre shows
        bool cornersBlack;
        bool grey;
    } cases[] = {
        {"no shape, no effect", 0, 0, &reference, false, false},
        {"ellipse, inverted colours", 1, 15, &inverted, true, false},
        {"water drop, black and white", 2, 10, nullptr, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        avplayer p;
        p.subclasswindow(window.hwnd(), 1);
        std::vector<unsigned char> shown;
        int w = 0, h = 0;
        EXPECT_FALSE(p.last_picture(shown, w, h)) << "nothing is open";
        ASSERT_TRUE(avtest::Open(p, "odd.mp4", c.shape, c.effect));
        ASSERT_TRUE(PumpUntil([&] { return p.last_picture(shown, w, h); }, 2000));
        ASSERT_EQ(w, kWidth);
        ASSERT_EQ(h, kHeight);
        ASSERT_EQ(shown.size(), size_t{kWidth} * kHeight * 4);
        if (c.centre) EXPECT_LT(CentreDifference(shown, *c.centre), 2.0);
        if (c.shape == 0) EXPECT_LT(avtest::MeanDifference(shown, reference), 1.5);
        if (c.cornersBlack) EXPECT_TRUE(CornersBlack(shown));
        if (c.grey) {
            int coloured = 0;
            for (size_t i = 0; i < shown.size(); i += 4)
                coloured += std::abs(shown[i] - shown[i + 1]) > 2 || std::abs(shown[i + 1] - shown[i + 2]) > 2;
            EXPECT_EQ(coloured, 0);
        }
        p.close();
        EXPECT_FALSE(p.last_picture(shown, w, h)) << "closed";
    }
}

} // namespace
