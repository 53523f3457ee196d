// Full screen, its bar and the settings window, with the real Morvane.exe and the real
// engine: the bar comes and goes, pauses, resumes and leaves full screen as Escape does;
// the water drop chosen in the settings is stored and shown at the same place in the file.
#include "avcore/letterbox.h"
#include "e2e/e2e_start.h"
#include "e2e/picture.h"

namespace {

using namespace e2e;

constexpr double kClipAspect = 320.0 / 240.0;
constexpr int kClipSeconds = 60;

std::string Text(const RECT& rc) {
    return "(" + std::to_string(rc.left) + "," + std::to_string(rc.top) + ")-(" + std::to_string(rc.right) + "," +
           std::to_string(rc.bottom) + ")";
}

RECT ClientToScreenRect(HWND hwnd, RECT rc) {
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

POINT Center(const RECT& rc) { return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; }

// The video window and its bar as the screen shows them.
class FullScreenView {
public:
    FullScreenView(HWND video, HWND bar, const BarLayout& layout) : m_video(video), m_bar(bar), m_layout(layout) {}

    bool CoversScreen() const { return e2e::CoversScreen(m_video); }
    bool InRegion(HWND main, const RECT& region) const {
        const RECT rc = WindowRect(m_video);
        return GetParent(m_video) == main && (GetWindowLongW(m_video, GWL_STYLE) & WS_CHILD) && EqualRect(&rc, &region);
    }
    // Full width along the bottom, 50 pixels high.
    bool BarShown() const {
        const RECT screen = ScreenRect(), expected{0, screen.bottom - 50, screen.right, screen.bottom};
        const RECT rc = WindowRect(m_bar);
        return IsWindowVisible(m_bar) && EqualRect(&rc, &expected);
    }
    bool BarHidden() const { return !IsWindowVisible(m_bar); }
    std::string Describe() const {
        return "video " + Text(WindowRect(m_video)) + (IsWindowVisible(m_bar) ? ", bar shown at " : ", bar hidden at ") +
               Text(WindowRect(m_bar));
    }

    POINT OnBar(const RECT& client) const { return Center(BarToScreen(client)); }
    // A still place over the bar, out of the bottom band: the blank between the
    // track buttons and the sound button.
    POINT Rest() const {
        const RECT next = BarToScreen(m_layout.next), mute = BarToScreen(m_layout.mute);
        return {(next.right + mute.left) / 2, (next.top + next.bottom) / 2};
    }
    // The bar's clock running, or standing, as asked; captured again and again, in whole
    // seconds: a running clock changes within 2.5 s; a standing one shows 1.5 s without a
    // change (after a pause lands, within 4 s).
    ::testing::AssertionResult BarClock(bool running) const {
        const RECT clock = BarToScreen(m_layout.curTime);
        testsupport::Shot last, now;
        if (!CaptureScreen(clock, last)) return ::testing::AssertionFailure() << "no capture of the bar's clock";
        ULONGLONG changedAt = GetTickCount64();
        bool changed = false;
        const bool seen = testsupport::PumpUntil([&] {
            if (!CaptureScreen(clock, now)) return false;
            if (now.pixels != last.pixels) {
                changed = true;
                changedAt = GetTickCount64();
                last = now;
            }
            return running ? changed : GetTickCount64() - changedAt >= 1500;
        }, running ? 2500 : 4000, 100);
        if (seen) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the bar's clock " << (running ? "stood" : "kept running");
    }

private:
    RECT BarToScreen(RECT rc) const {
        OffsetRect(&rc, 0, ScreenRect().bottom - 50);
        return rc;
    }

    HWND m_video, m_bar;
    const BarLayout& m_layout;
};

bool ScreenShowsClip(testsupport::Shot& shot) {
    return CaptureScreen(ScreenRect(), shot) && ShareNear(shot, InnerBox(ScreenRect()), kFlatColour, 32) > 0.9;
}

using FullScreenEndToEnd = PlayerTest;

TEST_F(FullScreenEndToEnd, BarAndSettingsWorkOnThePlayingFile) {
    ASSERT_FALSE(run.work.empty()) << "run through run_e2e.sh, which sets MORVANE_E2E_DIR";
    ASSERT_NE(GetFileAttributesW((run.media + L"\\long.mkv").c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(Render(kStatuses, ClockTexts(kClipSeconds)));
    // The default ellipse, whatever an earlier run saved.
    ASSERT_TRUE(Start());
    ASSERT_TRUE(screen.Await("started", [&] { return screen.Status() == L"(blank)" && screen.ListIs(refs.listEmpty); }, 15000));
    ASSERT_TRUE(Add(L"\"long.mkv\""));
    Press(screen.CenterOf(refs.layout.play));
    ASSERT_TRUE(screen.Await("plays", [&] {
        return screen.Status() == kPlaying && screen.ShowsSecondClip() && screen.Total() == ClockText(kClipSeconds);
    }, 20000));

    HWND video = FindDescendant(main, L"VideoRealWnd");
    ASSERT_NE(video, nullptr);
    HWND barWnd = FindDescendant(video, L"PlayerBarWnd");
    ASSERT_NE(barWnd, nullptr) << "the video window has no bar";
    const RECT region = ClientToScreenRect(main, refs.layout.playRegion);
    FullScreenView view(video, barWnd, bar);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return view.InRegion(main, region); }, 3000)) << view.Describe() << " region " << Text(region);
    testsupport::Shot full;

    // Back in the play region with the bar hidden, in the state given by the status
    // text: playing moves the clock on, paused holds it.
    const auto backInRegion = [&](const char* step, const wchar_t* status) -> ::testing::AssertionResult {
        if (!testsupport::PumpUntil([&] { return view.InRegion(main, region) && view.BarHidden(); }, 5000)) {
            if (CaptureScreen(ScreenRect(), full)) SaveShot(full, testsupport::ScreenshotPath(L"e2e-failed-back.png"));
            return ::testing::AssertionFailure() << step << ": not back in the play region; " << view.Describe();
        }
        if (!screen.Await(step, [&] { return screen.Status() == status && ClockSeconds(screen.Clock()) >= 0; }, 5000))
            return ::testing::AssertionFailure() << step << ": " << screen.Describe();
        const std::wstring at = screen.Clock();
        const bool moved = testsupport::PumpUntil([&] { return screen.Capture() && ClockSeconds(screen.Clock()) > ClockSeconds(at); }, 2500, 100);
        if (moved != (status == kPlaying))
            return ::testing::AssertionFailure() << step << ": the clock " << (moved ? "moved" : "stood") << " from " << Utf8(at);
        return ::testing::AssertionSuccess();
    };
    const auto enterFullScreen = [&](const char* step) -> ::testing::AssertionResult {
        DoubleClickAt(screen.CenterOf(refs.layout.playRegion));
        if (!testsupport::PumpUntil([&] { return view.CoversScreen(); }, 5000))
            return ::testing::AssertionFailure() << step << ": the video window does not cover the screen; " << view.Describe();
        if (!testsupport::PumpUntil([&] { return ScreenShowsClip(full); }, 5000)) {
            SaveShot(full, testsupport::ScreenshotPath(L"e2e-failed-fullscreen.png"));
            return ::testing::AssertionFailure() << step << ": the picture is not on the screen";
        }
        if (!view.BarHidden()) return ::testing::AssertionFailure() << step << ": the bar came with full screen";
        return ::testing::AssertionSuccess();
    };
    const auto showBar = [&](const char* step) -> ::testing::AssertionResult {
        const RECT screenRc = ScreenRect();
        MoveMouseTo({screenRc.right / 3, screenRc.bottom - 1});
        if (!testsupport::PumpUntil([&] { return view.BarShown(); }, 3000))
            return ::testing::AssertionFailure() << step << ": the bottom edge shows no bar; " << view.Describe();
        MoveMouseTo(view.Rest());
        return ::testing::AssertionSuccess();
    };

    // A double-click covers the screen; the bottom edge brings the bar, which
    // leaves by itself 5 to 6 s after the pointer last moved over it.
    ASSERT_TRUE(enterFullScreen("double-click"));
    ASSERT_TRUE(showBar("first bar"));
    const ULONGLONG restedAt = GetTickCount64();
    ASSERT_TRUE(testsupport::PumpUntil([&] { return view.BarHidden(); }, 8000)) << "the bar stayed 8 s; " << view.Describe();
    const ULONGLONG shownFor = GetTickCount64() - restedAt;
    RecordProperty("bar_left_after_ms", static_cast<int>(shownFor));
    EXPECT_GE(shownFor, 4500u) << "the bar left early";
    EXPECT_TRUE(view.CoversScreen()) << view.Describe();

    // Escape returns, still playing.
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(backInRegion("escape", kPlaying));

    // The bar's play button pauses, and in full screen again (the double-click's two clicks leave it
    // paused) resumes; its full-screen button returns in the state it gave.
    for (const bool pausing : {true, false}) {
        const char* step = pausing ? "bar pauses" : "bar resumes";
        ASSERT_TRUE(enterFullScreen(step));
        ASSERT_TRUE(showBar(step));
        ASSERT_TRUE(view.BarClock(pausing)) << step << ", before the bar's play button";
        if (pausing && CaptureScreen(ScreenRect(), full) && view.BarShown())
            SaveShot(full, testsupport::ScreenshotPath(L"e2e-fullscreen-bar.png"));
        ClickAt(view.OnBar(bar.play));
        ASSERT_TRUE(view.BarClock(!pausing)) << step << ", after the bar's play button";
        ClickAt(view.OnBar(bar.fullscreen));
        MoveMouseTo({0, 0});
        ASSERT_TRUE(backInRegion(step, pausing ? kPaused : kPlaying));
    }

    // Settings: shape 水滴, then 确定.
    Press(screen.CenterOf(refs.layout.setting));
    HWND settingsWnd = nullptr;
    // It shows (in front) where it is made, at the screen's corner, and only then moves
    // over the player: a click computed before the move lands beside the combo.
    ASSERT_TRUE(testsupport::PumpUntil([&] {
        settingsWnd = FindTopWindow(player->Id(), L"SystemInfoWnd");
        const POINT at = Center(WindowRect(settingsWnd)), over = Center(WindowRect(main));
        return settingsWnd && GetForegroundWindow() == settingsWnd && abs(at.x - over.x) <= 1 &&
               abs(at.y - over.y) <= 1;
    }, 5000)) << "no settings window in front, centred over the player";
    ClickAt(Center(ClientToScreenRect(settingsWnd, settings.shapeCombo)));
    HWND drop = nullptr;
    ASSERT_TRUE(testsupport::PumpUntil([&] { return (drop = FindTopWindow(player->Id(), L"DuiComboDropWnd")) != nullptr; }, 3000))
        << "the shape combo did not open";
    // Its rows share its height inside a one-pixel border; 水滴 is the third.
    const RECT dropRc = WindowRect(drop);
    const int row = (dropRc.bottom - dropRc.top - 2) / settings.shapeItems;
    ClickAt({(dropRc.left + dropRc.right) / 2, dropRc.top + 1 + row * 2 + row / 2});
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !IsWindow(drop) || !IsWindowVisible(drop); }, 3000)) << "the drop-down stayed";
    MoveMouseTo({0, 0});
    ASSERT_TRUE(screen.Capture());
    screen.Save(L"e2e-settings-drop.png");
    ASSERT_TRUE(screen.Await("before save", [&] { return ClockSeconds(screen.Clock()) > 0; }, 3000));
    const int savedAt = ClockSeconds(screen.Clock());
    const ULONGLONG savedTick = GetTickCount64();
    // A restart from the beginning must not pass for the resume.
    ASSERT_GT(savedAt, 3) << "saved too early in the file";
    ClickAt(Center(ClientToScreenRect(settingsWnd, settings.save)));
    MoveMouseTo({0, 0});
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !IsWindow(settingsWnd); }, 5000)) << "the settings window stayed";

    const std::string cfg = ReadFileBytes(run.folder + L"\\cfg.cfg");
    EXPECT_EQ(cfg, std::string("\x02\0\0\0\0\0\0\0", 8)) << "cfg.cfg holds " << cfg.size() << " bytes";

    // The file reopened in the water drop, back at the second it was saved at: no earlier, and no further on
    // than the time since (a slow machine may take seconds to reopen it and to see it).
    const RECT picture = avcore::FitPicture(refs.layout.playRegion, kClipAspect);
    double asDrop = 0;
    ASSERT_TRUE(screen.Await("water drop", [&] {
        const int at = ClockSeconds(screen.Clock()), since = static_cast<int>((GetTickCount64() - savedTick) / 1000);
        asDrop = OutlineAgreement(screen.Shot(), picture, Outline::Drop, kFlatColour, 4.0);
        return screen.Status() == kPlaying && at >= savedAt && at <= savedAt + 2 + since && asDrop > 0.99;
    }, 6000)) << "saved at " << savedAt << " s; drop agreement " << asDrop;
    const double asEllipse = OutlineAgreement(screen.Shot(), picture, Outline::Ellipse, kFlatColour, 4.0);
    RecordProperty("drop_agreement_permille", static_cast<int>(asDrop * 1000));
    RecordProperty("ellipse_agreement_permille", static_cast<int>(asEllipse * 1000));
    EXPECT_LT(asEllipse, 0.95) << "the picture is as much an ellipse as a drop";
    screen.Save(L"e2e-waterdrop.png");
    EXPECT_TRUE(player->Running());
}

} // namespace
