// The main window with real messages: chrome, system commands, routing, timers, keys.
#include "app/debug_capture.h"
#include "app/frame_harness.h"
#include "support/recording_host.h"
#include "support/screenshot.h"

using namespace DuiLib;
using apptest::Engine;

namespace {

class MainFrameTest : public apptest::MainWindowFixture {
protected:
    MainFrameTest() : MainWindowFixture({}) {}
    void ClickControl(const wchar_t* name) { apptest::ClickControl(frame, name); }
    void DoubleClickCaption() {
        POINT pt{300, 30};
        ClientToScreen(hwnd, &pt);
        SendMessageW(hwnd, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(pt.x, pt.y));
        testsupport::PumpIdle();
    }
    void ExpectMaximised(bool zoomed) {
        EXPECT_EQ(IsZoomed(hwnd) != FALSE, zoomed);
        EXPECT_EQ(apptest::IsShown(frame, L"btn_max"), !zoomed);
        EXPECT_EQ(apptest::IsShown(frame, L"btn_restore"), zoomed);
    }
    SIZE WindowSize() const {
        RECT rc;
        GetWindowRect(hwnd, &rc);
        return {rc.right - rc.left, rc.bottom - rc.top};
    }

    apptest::TimerLog timers;
};

TEST_F(MainFrameTest, StartsRestoredAndPolling) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    EXPECT_EQ(rc.right, 840);
    EXPECT_EQ(rc.bottom, 600);
    ExpectMaximised(false);  // the layout declares the opposite pair
    EXPECT_EQ(frame->m_effect.shape, 1);  // no cfg.cfg beside this test
    EXPECT_EQ(frame->m_effect.effectCode, 0);
    // Three ticks come whatever the load; how long they took is reported, not judged.
    const ULONGLONG shown = GetTickCount64();
    EXPECT_TRUE(testsupport::PumpUntil([&] { return timers.Ticks(kTimerPoll).size() >= 3; }, 10000));
    EXPECT_GE(timers.Ticks(kTimerPoll).size(), 3u);
    RecordProperty("three_ticks_ms", std::to_string(GetTickCount64() - shown));
    testsupport::SaveWindowPng(hwnd, testsupport::ScreenshotPath(L"app_mainframe_start.png").c_str());
}

TEST_F(MainFrameTest, HitTestBandsCaptionAndButtons) {
    // Size box 4,4,6,6 over 840x600 with strict tests; the caption band is y 0..63.
    struct Case { int x, y; LRESULT restored, maximised; };
    const Case cases[] = {
        {0, 0, HTTOPLEFT, HTCAPTION},         {3, 3, HTTOPLEFT, HTCAPTION},
        {4, 3, HTTOP, HTCAPTION},             {834, 0, HTTOP, HTCAPTION},
        {835, 0, HTTOPRIGHT, HTCAPTION},      {0, 595, HTBOTTOMLEFT, HTCLIENT},
        {4, 595, HTBOTTOM, HTCLIENT},         {835, 599, HTBOTTOMRIGHT, HTCLIENT},
        {420, 594, HTCLIENT, HTCLIENT},       {3, 300, HTLEFT, HTCLIENT},
        {4, 300, HTCLIENT, HTCLIENT},         {835, 300, HTRIGHT, HTCLIENT},
        {834, 300, HTCLIENT, HTCLIENT},       {260, 30, HTCAPTION, HTCAPTION},
        {300, 63, HTCAPTION, HTCAPTION},      {300, 64, HTCLIENT, HTCLIENT},
    };
    for (bool maximised : {false, true}) {
        if (maximised) {
            ClickControl(L"btn_max");
            ASSERT_TRUE(IsZoomed(hwnd));
        }
        for (const Case& c : cases)
            EXPECT_EQ(apptest::HitTest(hwnd, c.x, c.y), maximised ? c.maximised : c.restored)
                << "at " << c.x << "," << c.y << (maximised ? " maximised" : "");

        // Buttons and mouse-enabled texts inside the band keep their clicks; the
        // mouse-transparent title text is part of the drag area.
        auto* listbar = static_cast<CContainerUI*>(apptest::Find(frame, L"listbar")->GetInterface(L"Container"));
        CControlUI* listTitle = listbar->GetItemAt(0);
        ASSERT_STREQ(listTitle->GetClass(), L"TextUI");
        POINT listTitleTop{apptest::CenterOf(listTitle).x, listTitle->GetPos().top + 1};
        ASSERT_LT(listTitleTop.y, 64);
        const std::pair<POINT, LRESULT> controls[] = {
            {apptest::CenterOf(apptest::Find(frame, L"btn_close")), HTCLIENT},
            {apptest::CenterOf(apptest::Find(frame, L"btn_setting")), HTCLIENT},
            {listTitleTop, HTCLIENT},
            {apptest::CenterOf(apptest::Find(frame, L"txt_title")), HTCAPTION},
        };
        for (const auto& [pt, expected] : controls)
            EXPECT_EQ(apptest::HitTest(hwnd, pt.x, pt.y), expected) << "at " << pt.x << "," << pt.y;
    }
}

TEST_F(MainFrameTest, SizeStaysBetweenTheLayoutMinimumAndTheScreen) {
    MINMAXINFO info{};
    info.ptMaxPosition = {-8, -8};
    SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMaxPosition.x, 0);
    EXPECT_EQ(info.ptMaxPosition.y, 0);

    SetWindowPos(hwnd, nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(WindowSize().cx, 840);
    EXPECT_EQ(WindowSize().cy, 600);
    SetWindowPos(hwnd, nullptr, 0, 0, 5000, 4000, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(WindowSize().cx, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(WindowSize().cy, GetSystemMetrics(SM_CYSCREEN));
}

TEST_F(MainFrameTest, MaximiseAndRestoreButtonsFollowTheStateWhateverTheSource) {
    ClickControl(L"btn_max");
    ExpectMaximised(true);
    ClickControl(L"btn_restore");
    ExpectMaximised(false);
    DoubleClickCaption();
    ExpectMaximised(true);

    // Minimising a maximised window shows "btn_max"; restoring it (as the taskbar
    // does) returns to the maximised state and to "btn_restore".
    ClickControl(L"btn_min");
    EXPECT_TRUE(IsIconic(hwnd));
    ExpectMaximised(false);
    SendMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    ExpectMaximised(true);
    DoubleClickCaption();
    ExpectMaximised(false);
    EXPECT_TRUE(engine().Commands().empty());
}

TEST_F(MainFrameTest, CloseHidesTheWindowAndEndsTheLoopLeavingTheEngineAlone) {
    engine().script.status = 1;  // a file is playing
    POINT at = apptest::CenterOf(apptest::Find(frame, L"btn_close"));
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));

    EXPECT_TRUE(apptest::RunLibraryLoopUntilQuit(5000)) << "the close did not end the message loop";
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_TRUE(IsWindow(hwnd)) << "closing must not destroy the window";
    EXPECT_TRUE(engine().Commands().empty());
}

// A WM_CLOSE from another program ends the player as the close button does. Sent
// while the engine's open waits (and runs sent messages), it must not destroy the
// window under that call: the open returns into a live window.
TEST(MainFrameClose, AWindowCloseFromOutsideClosesAsTheCloseButtonDoes) {
    struct Case {
        const char* name;
        bool duringOpen;
    } cases[] = {{"posted", false}, {"sent while open waits", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CMainFrame* frame = apptest::OpenMainFrame();
        ASSERT_NE(frame, nullptr);
        const HWND hwnd = frame->GetHWND();
        Engine(frame).Clear();
        if (c.duringOpen) {
            Engine(frame).script.duringOpen = [hwnd] { SendMessageW(hwnd, WM_CLOSE, 0, 0); };
            frame->OpenAndPlay(L"C:\\films\\a.mp4");
        } else {
            PostMessageW(hwnd, WM_CLOSE, 0, 0);
        }
        EXPECT_TRUE(apptest::RunLibraryLoopUntilQuit(5000)) << "the close did not end the message loop";
        ASSERT_TRUE(IsWindow(hwnd)) << "closing must not destroy the window";
        EXPECT_FALSE(IsWindowVisible(hwnd));
        if (c.duringOpen) {
            EXPECT_EQ(Engine(frame).CommandTexts().back(), "play(0,0)");
        }
        apptest::DestroyMainFrame(frame);
    }
}

TEST_F(MainFrameTest, EveryNotificationWritesOneDebuggerLine) {
    testsupport::RecordingHost recorder;   // every notification the window's controls raise
    frame->GetPaintManager().AddNotifier(&recorder);
    DebugOutputCapture capture;

    ClickControl(L"btn_stop");
    ClickControl(L"btn_prev");
    TNotifyUI unhandled;
    unhandled.sType = L"someothertype";
    frame->Notify(unhandled);
    recorder.Notify(unhandled);
    frame->GetPaintManager().RemoveNotifier(&recorder);

    std::vector<std::wstring> lines = capture.Lines();
    EXPECT_EQ(recorder.Count(L"click"), 2);
    ASSERT_EQ(lines.size(), recorder.notes.size());
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i], L"msg  " + recorder.notes[i].type + L" \r\n");

    // A type too long for the 256-unit line is cut, not fatal.
    capture.Clear();
    unhandled.sType = std::wstring(300, L'x');
    frame->Notify(unhandled);
    ASSERT_EQ(capture.Lines().size(), 1u);
    EXPECT_EQ(capture.Lines()[0], L"msg  " + std::wstring(247, L'x') + L" \r\n");
}

TEST_F(MainFrameTest, SliderChangesReachTheEngineWithExactValues) {
    CPaintManagerUI& pm = frame->GetPaintManager();
    CSliderUI* volume = frame->m_pVolumeSlider;
    CSliderUI* seek = frame->m_pPlaySlider;
    ASSERT_TRUE(volume && seek);

    volume->SetValue(37);
    pm.SendNotify(volume, DUI_MSGTYPE_VALUECHANGED);
    seek->SetValue(250);
    pm.SendNotify(seek, DUI_MSGTYPE_VALUECHANGED);
    ASSERT_EQ(engine().Commands().size(), 2u);
    EXPECT_EQ(engine().Commands()[0].name, "volume");
    EXPECT_EQ(engine().Commands()[0].numbers, (std::vector<double>{37.0, 37.0}));
    EXPECT_EQ(engine().Commands()[1].name, "seek_to");
    EXPECT_EQ(engine().Commands()[1].numbers, (std::vector<double>{0.25}));
    // The report comes when the thumb is let go: the progress follows playback again.
    EXPECT_EQ(frame->m_bSeeking, 0);

    // An empty range makes no engine call, and a sender that is not one of the two
    // sliders does nothing.
    engine().Clear();
    volume->SetMaxValue(0);
    seek->SetMaxValue(0);
    pm.SendNotify(volume, DUI_MSGTYPE_VALUECHANGED);
    pm.SendNotify(seek, DUI_MSGTYPE_VALUECHANGED);
    pm.SendNotify(apptest::Find(frame, L"btn_stop"), DUI_MSGTYPE_VALUECHANGED);
    EXPECT_TRUE(engine().Commands().empty());

    // A real drag on the seek slider ends in the same call.
    seek->SetMaxValue(1000);
    const RECT& rc = seek->GetPos();
    apptest::Click(hwnd, {rc.left + (rc.right - rc.left) / 4, (rc.top + rc.bottom) / 2});
    ASSERT_EQ(engine().Commands().size(), 1u);
    EXPECT_EQ(engine().Commands()[0].numbers[0], static_cast<double>(seek->GetValue() / 1000.0f));
}

TEST_F(MainFrameTest, OnlyAPressHoldingTheSeekThumbHoldsTheProgress) {
    CSliderUI* seek = frame->m_pPlaySlider;
    ASSERT_NE(seek, nullptr);
    engine().script = {1, 60.0, 120.0};
    KillTimer(hwnd, kTimerPoll);
    const auto tick = [&](double position) {
        engine().script.position = position;
        SendMessageW(hwnd, WM_TIMER, kTimerPoll, 0);
    };
    tick(60.0);
    ASSERT_EQ(seek->GetValue(), 500);
    const RECT thumb = seek->GetThumbRect();
    const LPARAM onThumb = MAKELPARAM((thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2);
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, onThumb);
    EXPECT_EQ(frame->m_bSeeking, 1);
    tick(90.0);
    EXPECT_EQ(seek->GetValue(), 500) << "pulled from under the hand";
    SendMessageW(hwnd, WM_LBUTTONUP, 0, onThumb);
    EXPECT_EQ(frame->m_bSeeking, 0);
    tick(90.0);
    EXPECT_EQ(seek->GetValue(), 750);

    // A press elsewhere holds nothing.
    const POINT play = apptest::CenterOf(apptest::Find(frame, L"txt_curtime"));
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(play.x, play.y));
    EXPECT_EQ(frame->m_bSeeking, 0);
    SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(play.x, play.y));
}

TEST(MainFrameStart, TheEngineHearsTheVolumeTheSliderShowsBeforeAnyFile) {
    CMainFrame* frame = apptest::OpenMainFrame();
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(frame->m_pVolumeSlider, nullptr);
    const std::vector<std::string> commands = Engine(frame).CommandTexts();
    const double shown = frame->m_pVolumeSlider->GetValue();
    apptest::DestroyMainFrame(frame);
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.front(), "volume(" + std::to_string(static_cast<int>(shown)) + "," +
                                    std::to_string(static_cast<int>(shown)) + ")");
}

TEST_F(MainFrameTest, SizeBurstFitsOnceAndTheResumeTimerSeeksOnce) {
    // A loaded machine may stretch any gap: so every fit must follow a quiet spell after the
    // size before it, and the last size must get one.
    std::vector<ULONGLONG> sizes;
    for (int i = 0; i < 8; ++i) {
        SetWindowPos(hwnd, nullptr, 0, 0, 860 + 10 * i, 620, SWP_NOMOVE | SWP_NOZORDER);
        sizes.push_back(GetTickCount64());
        testsupport::PumpIdle();
    }
    ASSERT_TRUE(testsupport::PumpUntil([&] {
        const auto fits = timers.Ticks(kTimerFitVideo);
        return !fits.empty() && fits.back() >= sizes.back();
    }, 3000));
    for (ULONGLONG fit : timers.Ticks(kTimerFitVideo)) {
        ULONGLONG lastSize = 0;
        for (ULONGLONG t : sizes)
            if (t <= fit) lastSize = t;
        EXPECT_GE(fit - lastSize, 80u);
    }
    size_t quietGaps = 0;  // gaps long enough for the one-shot timer to fire in them
    for (size_t i = 1; i < sizes.size(); ++i)
        quietGaps += sizes[i] - sizes[i - 1] >= 80;
    EXPECT_LE(timers.Ticks(kTimerFitVideo).size(), quietGaps + 1);

    // Timer 3 seeks to the saved fraction once; timers of other ids do nothing here.
    // Ten ticks of timer 77 after the seek show the loop ran on without a second one.
    frame->m_fResumePos = 0.4f;
    SetTimer(hwnd, kTimerResumeSeek, 500, nullptr);
    SetTimer(hwnd, 77, 50, nullptr);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !timers.Ticks(kTimerResumeSeek).empty(); }, 5000));
    const size_t ticks = timers.Ticks(77).size();
    ASSERT_TRUE(testsupport::PumpUntil([&] { return timers.Ticks(77).size() >= ticks + 10; }, 5000));
    KillTimer(hwnd, 77);
    EXPECT_EQ(timers.Ticks(kTimerResumeSeek).size(), 1u);
    EXPECT_EQ(engine().CommandTexts(), (std::vector<std::string>{"seek_to(0.40000000596046448)"}));
}

TEST_F(MainFrameTest, SpaceAndEnterToggleOnlyAPlayingOrPausedEngine) {
    auto press = [&](WPARAM key) {
        PostMessageW(hwnd, WM_KEYDOWN, key, 1);
        testsupport::PumpIdle();
    };
    press(VK_SPACE);  // nothing loaded
    press(VK_RETURN);
    EXPECT_TRUE(engine().Commands().empty());

    engine().script.status = 1;
    press(VK_SPACE);
    press(VK_RETURN);
    // Escape is taken (no video window yet, so nothing toggles) and never closes.
    press(VK_ESCAPE);
    EXPECT_EQ(engine().CommandTexts(), (std::vector<std::string>{"pause()", "resume()"}));
    EXPECT_TRUE(IsWindowVisible(hwnd));
}

} // namespace
