// The full-screen bar in a real main window with the recording engine: when it comes and
// goes, its buttons and sliders against the main window's, and the polling reaching it.
#include <algorithm>
#include "support/screenshot.h"
#include "video/PlayBarFrame.h"
#include "video_fixture.h"

using namespace DuiLib;
using namespace videotest;

namespace {

const wchar_t* const kRows[] = {L"C:\\v\\a.mp4", L"C:\\v\\b.mkv", L"C:\\v\\c.avi"};

class PlayBarTest : public VideoFixture {
protected:
    void SetUpWindow() override {
        VideoFixture::SetUpWindow();
        if (HasFatalFailure())
            return;
        bar = video->m_pPlayBar;
        ASSERT_NE(bar, nullptr);
        hBar = bar->GetHWND();
        for (const wchar_t* row : kRows)
            frame->AddListItem(row, L"");
    }

    CControlUI* BarControl(const wchar_t* name) const { return bar->m_pBtnMute->GetManager()->FindControl(name); }
    bool BarShown() const { return video->m_bPlayBarShown && IsWindowVisible(hBar); }
    void MoveOverPicture(int x, int y) { Post(WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
    void EnterAndShowBar() {
        if (!video->m_bFullScreen)
            PressKey(VK_ESCAPE);
        MoveOverPicture(screen.right / 2, screen.bottom - 1);
        // The bar lays its controls out once it has its size.
        ASSERT_TRUE(PumpUntil([&] { return BarControl(L"btn_fullscreen")->GetWidth() > 0; }));
    }
    // A click at the control's centre, once a mute swap has been laid out.
    void ClickBar(const wchar_t* name) {
        RedrawWindow(hBar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        apptest::Click(hBar, apptest::CenterOf(BarControl(name)));
    }
    void IdleFor(DWORD ms) { video->m_dwLastActivity = GetTickCount() - ms; }
    void PollTick() { SendMessageW(hMain, WM_TIMER, kTimerPoll, 0); }
    void RaiseValueChanged(CSliderUI* slider) { slider->GetManager()->SendNotify(slider, DUI_MSGTYPE_VALUECHANGED); }

    const RECT screen = ScreenRect();
    CPlayBarFrame* bar = nullptr;
    HWND hBar = nullptr;
};

TEST_F(PlayBarTest, BandAtTheBottomOfTheScreenShowsTheBarAcrossIt) {
    MoveOverPicture(5, 5);
    EXPECT_FALSE(BarShown()) << "windowed";
    PressKey(VK_ESCAPE);
    ASSERT_EQ(video->m_bFullScreen, 1);
    EXPECT_FALSE(BarShown()) << "on entering";

    struct Case { int x, y; bool shows; };
    const Case cases[] = {
        {screen.right / 2, screen.bottom - 11, false},
        {screen.right / 2, 0, false},
        {0, screen.bottom - 10, true},
        {screen.right - 1, screen.bottom - 1, true},
    };
    const RECT expected{0, screen.bottom - 50, screen.right, screen.bottom};
    for (const Case& c : cases) {
        video->ShowPlayBar(false);
        MoveOverPicture(c.x, c.y);
        EXPECT_EQ(BarShown(), c.shows) << c.x << "," << c.y;
        if (c.shows) {
            EXPECT_EQ(Text(WindowRectOf(hBar)), Text(expected));
        }
    }
}

TEST_F(PlayBarTest, InactivityHidesTheBarAndActivityOnItRenewsIt) {
    // A press, a release or a movement over the bar, on a blank spot, counts as activity.
    const LPARAM blank = MAKELPARAM(screen.right - 20, 5);
    for (UINT msg : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}) {
        EnterAndShowBar();
        IdleFor(6000);
        PostMessageW(hBar, msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, blank);
        testsupport::PumpIdle();
        SendMessageW(hVideo, WM_TIMER, kTimerPlayBar, 0);
        EXPECT_TRUE(BarShown()) << "message " << std::hex << msg;
    }

    // Without activity the video window's own timer hides it within its next tick.
    IdleFor(6000);
    EXPECT_TRUE(PumpUntil([&] { return !BarShown(); }, 2500));
    PostMessageW(hBar, WM_MOUSEMOVE, 0, blank);
    testsupport::PumpIdle();
    EXPECT_EQ(video->m_dwLastActivity, 0u) << "a hidden bar records no activity";
}

TEST_F(PlayBarTest, ClickOnThePictureHidesTheBarAndPausesOrResumes) {
    for (const auto& [status, expected] : {std::pair{1, "pause()"}, std::pair{2, "resume()"}}) {
        EnterAndShowBar();
        engine().script.status = status;
        engine().Clear();
        ClickVideo();
        EXPECT_FALSE(BarShown()) << "status " << status;
        EXPECT_EQ(engine().CommandTexts(), Commands{expected});
        EXPECT_EQ(video->m_bFullScreen, 1);
    }
}

TEST_F(PlayBarTest, LeavingHidesTheBarAndRestoresTheWindowedPlace) {
    const RECT windowed = WindowRectOf(hVideo);
    const LONG childStyle = GetWindowLongW(hVideo, GWL_STYLE);
    const std::pair<const char*, std::function<void()>> exits[] = {
        {"bar's btn_fullscreen", [&] { ClickBar(L"btn_fullscreen"); }},
        {"escape on the picture", [&] { PressKey(VK_ESCAPE); }},
        {"escape on the bar", [&] { SendMessageW(hBar, WM_KEYDOWN, VK_ESCAPE, 0); }},
    };
    for (const auto& [name, leave] : exits) {
        SCOPED_TRACE(name);
        EnterAndShowBar();
        leave();
        EXPECT_EQ(video->m_bFullScreen, 0);
        EXPECT_FALSE(BarShown());
        EXPECT_EQ(GetWindowLongW(hVideo, GWL_STYLE), childStyle);
        EXPECT_EQ(GetParent(hVideo), hMain);
        EXPECT_EQ(Text(WindowRectOf(hVideo)), Text(windowed));
    }
}

TEST_F(PlayBarTest, SpaceAndEnterOnTheBarPauseAndResumeAsOnThePicture) {
    EnterAndShowBar();
    engine().script.status = 1;
    SendMessageW(hBar, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(hBar, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(engine().CommandTexts(), (Commands{"pause()", "resume()"}));
    EXPECT_EQ(video->m_bFullScreen, 1);
    // The bar reads the picture's key map: V there shows or hides the subtitles too.
    const bool shown = engine().script.subtitlesShown;
    SendMessageW(hBar, WM_KEYDOWN, 'V', 0);
    EXPECT_NE(engine().script.subtitlesShown, shown);
}

TEST_F(PlayBarTest, ButtonsDoWhatTheMainWindowsButtonsOfTheSameNameDo) {
    // Row 1 is loaded; the mute pair shows what the engine reports.
    auto prepare = [&](int status, bool muted) {
        engine().script = {.status = status, .mute = muted};
        frame->m_pPlayList->SelectItem(1, false);
        frame->m_strCurPath = kRows[1];
        frame->UpdateMuteButtons(muted);
        engine().Clear();
    };
    EnterAndShowBar();
    for (const wchar_t* name : {L"btn_stop", L"btn_play", L"btn_prev", L"btn_next", L"btn_mute", L"btn_muteoff"}) {
        const bool startMuted = std::wstring(name) == L"btn_muteoff";
        for (int status : {1, 2, 4}) {
            SCOPED_TRACE(testing::Message() << name << " at status " << status);
            prepare(status, startMuted);
            apptest::ClickControl(frame, name);
            const Commands byMain = engine().CommandTexts();
            const int mainSel = frame->m_pPlayList->GetCurSel();

            prepare(status, startMuted);
            ClickBar(name);
            EXPECT_EQ(engine().CommandTexts(), byMain);
            EXPECT_EQ(frame->m_pPlayList->GetCurSel(), mainSel);
            // Both windows' mute pairs show the engine's state.
            const bool muted = engine().script.mute;
            EXPECT_EQ(bar->m_pBtnMute->IsVisible(), !muted);
            EXPECT_EQ(bar->m_pBtnMuteOff->IsVisible(), muted);
            EXPECT_EQ(apptest::IsShown(frame, L"btn_mute"), !muted);
            EXPECT_EQ(apptest::IsShown(frame, L"btn_muteoff"), muted);
            // Its own buttons keep the bar up, and full screen with it.
            EXPECT_TRUE(BarShown());
            EXPECT_EQ(video->m_bFullScreen, 1);
        }
    }
    // Not merely alike: the bar's mute swaps both pairs.
    prepare(1, false);
    ClickBar(L"btn_mute");
    EXPECT_TRUE(apptest::IsShown(frame, L"btn_muteoff") && bar->m_pBtnMuteOff->IsVisible());
}

TEST_F(PlayBarTest, SlidersMoveTheMainSlidersAndDriveTheEngineOnTheMainScale) {
    struct Case {
        const char* what;
        bool volume;
        int max, value;
        Commands expected;
    };
    const Case cases[] = {
        {"volume 37 of 100", true, 100, 37, {"volume(37,37)"}},
        {"volume 100 of 100", true, 100, 100, {"volume(100,100)"}},
        {"volume 5 of 20", true, 20, 5, {"volume(25,25)"}},
        {"volume, empty range", true, 0, 0, {}},
        {"seek 750 of 1000", false, 1000, 750, {"seek_to(0.75)"}},
        {"seek, empty range", false, 0, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CSliderUI* mine = c.volume ? bar->m_pSliderVolume : bar->m_pSliderPlay;
        CSliderUI* mains = c.volume ? frame->m_pVolumeSlider : frame->m_pPlaySlider;
        mains->SetMaxValue(1000);
        mains->SetValue(1);
        frame->m_bSeeking = 1;
        mine->SetMaxValue(c.max);
        mine->SetValue(c.value);
        engine().Clear();
        RaiseValueChanged(mine);
        EXPECT_EQ(engine().CommandTexts(), c.expected);
        EXPECT_EQ(mains->GetValue(), c.value);
        // A seek is reported when the thumb is let go: the progress follows playback again.
        EXPECT_EQ(frame->m_bSeeking, c.volume ? 1 : 0);

        // The main window's own slider at the same place asks the engine the same.
        mains->SetMaxValue(c.max);
        mains->SetValue(c.value);
        engine().Clear();
        RaiseValueChanged(mains);
        EXPECT_EQ(engine().CommandTexts(), c.expected) << "main window";
    }

    // Without the main window the bar's sliders do nothing.
    g_pMainFrame = nullptr;
    engine().Clear();
    RaiseValueChanged(bar->m_pSliderVolume);
    g_pMainFrame = frame;
    EXPECT_TRUE(engine().Commands().empty());
}

TEST_F(PlayBarTest, TheSeekSliderPreviewsTheTimeUnderThePointerAndAReleaseOnTheBarEndsTheSeek) {
    engine().script.SetProgress(2, 0, 7200);
    EnterAndShowBar();
    const RECT track = bar->m_pSliderPlay->GetPos();
    const int y = (track.top + track.bottom) / 2;
    // The thumb is 20 wide: its centre at the track's middle is half the file.
    SendMessageW(hBar, WM_MOUSEMOVE, 0, MAKELPARAM((track.left + track.right) / 2, y));
    EXPECT_TRUE(bar->m_seekPreview.IsShown());
    EXPECT_EQ(bar->m_seekPreview.Text(), L"01:00:00");
    SendMessageW(hBar, WM_MOUSEMOVE, 0, MAKELPARAM(track.right - 10, y));
    EXPECT_EQ(bar->m_seekPreview.Text(), L"02:00:00");
    SendMessageW(hBar, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(bar->m_seekPreview.IsShown());

    // A drag of the bar's seek thumb, from a quarter to three quarters of the track, ends
    // the seek, so the progress moves again.
    engine().script.SetProgress(1, 0, 120);
    const int from = track.left + (track.right - track.left) / 4;
    const int to = track.left + (track.right - track.left) * 3 / 4;
    engine().Clear();
    PostMessageW(hBar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from, y));
    PostMessageW(hBar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to, y));
    PostMessageW(hBar, WM_LBUTTONUP, 0, MAKELPARAM(to, y));
    testsupport::PumpIdle();
    const Commands seeks = engine().CommandTexts();
    ASSERT_EQ(seeks.size(), 1u);
    EXPECT_EQ(seeks[0].rfind("seek_to(0.7", 0), 0u) << seeks[0];
    EXPECT_EQ(frame->m_pPlaySlider->GetValue(), bar->m_pSliderPlay->GetValue());
    EXPECT_EQ(frame->m_bSeeking, 0);

    // Polling takes the engine's position again, in both windows.
    engine().script.position = 30.0;
    PollTick();
    EXPECT_EQ(frame->m_pPlaySlider->GetValue(), 250);
    EXPECT_EQ(bar->m_pSliderPlay->GetValue(), 250);

    // A release anywhere on the bar ends a seek, whoever started it.
    frame->m_bSeeking = 1;
    PostMessageW(hBar, WM_LBUTTONUP, 0, MAKELPARAM(screen.right - 20, 5));
    testsupport::PumpIdle();
    EXPECT_EQ(frame->m_bSeeking, 0);
}

TEST_F(PlayBarTest, KeysAndTheWheelOnEitherSeekSliderSeekFiveSecondsAndTheThumbFollows) {
    struct Case {
        const char* what;
        UINT message;
        int amount;       // a key, or wheel notches
        double fraction;  // from 60 s of 120 s
    };
    const Case cases[] = {
        {"Right", WM_KEYDOWN, VK_RIGHT, 65.0 / 120.0},
        {"Up", WM_KEYDOWN, VK_UP, 65.0 / 120.0},
        {"Left", WM_KEYDOWN, VK_LEFT, 55.0 / 120.0},
        {"Down", WM_KEYDOWN, VK_DOWN, 55.0 / 120.0},
        {"a notch away", WM_MOUSEWHEEL, 1, 65.0 / 120.0},
        {"two notches back", WM_MOUSEWHEEL, -2, 50.0 / 120.0},
    };
    const int volume = frame->m_pVolumeSlider->GetValue();
    for (bool onBar : {false, true}) {
        if (onBar)
            EnterAndShowBar();
        CSliderUI* slider = onBar ? bar->m_pSliderPlay : frame->m_pPlaySlider;
        const HWND owner = onBar ? hBar : hMain;
        slider->SetFocus();
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(onBar ? "bar: " : "main: ") + c.what);
            engine().script = {1, 60.0, 120.0};
            PollTick();
            engine().Clear();
            if (c.message == WM_KEYDOWN) {
                SendMessageW(owner, WM_KEYDOWN, c.amount, 1);
            } else {
                POINT at = apptest::CenterOf(slider);
                ClientToScreen(owner, &at);
                SendMessageW(owner, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(c.amount * WHEEL_DELTA)),
                             MAKELPARAM(at.x, at.y));
            }
            ASSERT_EQ(engine().Commands().size(), 1u) << "as many seeks as inputs";
            EXPECT_EQ(engine().Commands()[0].name, "seek_to");
            EXPECT_NEAR(engine().Commands()[0].numbers[0], c.fraction, 1e-9);
            EXPECT_EQ(frame->m_bSeeking, 0);
            // The thumb goes on following playback, in both windows.
            engine().script.position = 90.0;
            PollTick();
            EXPECT_EQ(frame->m_pPlaySlider->GetValue(), 750);
            EXPECT_EQ(bar->m_pSliderPlay->GetValue(), 750);
        }
    }
    EXPECT_EQ(frame->m_pVolumeSlider->GetValue(), volume) << "Up and Down moved the volume";
}

TEST_F(PlayBarTest, TheNoticeFromTheBarShowsAboveThePicture) {
    frame->ClearList();
    for (bool fullScreen : {false, true}) {
        SCOPED_TRACE(fullScreen ? "full screen" : "windowed");
        if (fullScreen)
            EnterAndShowBar();
        apptest::MessageBoxWatch watch;
        fullScreen ? ClickBar(L"btn_play") : apptest::ClickControl(frame, L"btn_play");
        ASSERT_TRUE(PumpUntil([] { return apptest::MessageBoxWatch::count > 0; }));
        EXPECT_EQ(apptest::MessageBoxWatch::text, L"请先添加视频文件");
        EXPECT_EQ(apptest::MessageBoxWatch::owner, fullScreen ? hVideo : hMain);
    }
}

TEST_F(PlayBarTest, PollingCopiesSlidersAlwaysAndClockTextsWhilePlaying) {
    struct Case { int status; double position, duration; const wchar_t* cur; const wchar_t* total; };
    const Case cases[] = {
        {1, 3725.9, 7200.0, L"01:02:05", L"02:00:00"},
        {2, 10.0, 20.0, L"01:02:05", L"02:00:00"},   // paused: the texts stand still
        {1, 59.99, 61.0, L"00:00:59", L"00:01:01"},
    };
    frame->m_bSeeking = 1;   // polling leaves the main seek slider where this test puts it
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        engine().script.SetProgress(c.status, c.position, c.duration);
        frame->m_pVolumeSlider->SetValue(10 + n);
        frame->m_pPlaySlider->SetValue(100 + n);
        ++n;
        PollTick();
        EXPECT_EQ(std::wstring(bar->m_pTxtCurTime->GetText().GetData()), c.cur);
        EXPECT_EQ(std::wstring(bar->m_pTxtTotalTime->GetText().GetData()), c.total);
        EXPECT_EQ(bar->m_pSliderVolume->GetValue(), frame->m_pVolumeSlider->GetValue());
        EXPECT_EQ(bar->m_pSliderPlay->GetValue(), frame->m_pPlaySlider->GetValue());
    }
}

TEST_F(PlayBarTest, FullScreenWithTheBarLooksRight) {
    engine().script.SetProgress(1, 3725.0, 7200.0);
    frame->m_bSeeking = 1;
    frame->m_pPlaySlider->SetValue(517);
    PollTick();
    EnterAndShowBar();
    testsupport::PumpIdle();

    // A window's own picture leaves its children out: lay the bar over the picture.
    testsupport::Shot shot, strip;
    ASSERT_TRUE(testsupport::CaptureWindow(hVideo, shot));
    ASSERT_TRUE(testsupport::CaptureWindow(hBar, strip));
    ASSERT_EQ(shot.width, screen.right);
    ASSERT_EQ(strip.width, screen.right);
    ASSERT_EQ(strip.height, 50);
    std::copy(strip.pixels.begin(), strip.pixels.end(), shot.pixels.end() - strip.pixels.size());
    testsupport::SaveBgraPng(reinterpret_cast<const uint8_t*>(shot.pixels.data()), shot.width, shot.height,
                             shot.width * 4, testsupport::ScreenshotPath(L"fullscreen_playbar.png").c_str());

    // Black picture above; the bar's blue-grey along the bottom, with the white clock text.
    const int bottom = screen.bottom;
    EXPECT_EQ(shot.At(screen.right / 2, 10), 0u);
    EXPECT_EQ(shot.At(screen.right / 2, bottom - 51), 0u);
    EXPECT_EQ(shot.At(screen.right / 2, bottom - 3), 0x445b84u);
    EXPECT_GT(shot.CountBright(RECT{0, bottom - 50, 90, bottom - 30}), 20);
}

} // namespace
