// The main window with real messages: chrome, system commands, routing, timers, keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>
#include "app/debug_capture.h"
#include "app/frame_harness.h"
#include "support/screenshot.h"

using namespace DuiLib;
using apptest::Engine;
using apptest::IsShown;

namespace {

// Native messages of one window as the thread takes them from its queue.
class QueueWatch {
public:
    explicit QueueWatch(HWND hwnd) {
        s_self = this;
        m_hwnd = hwnd;
        m_hook = SetWindowsHookExW(WH_GETMESSAGE, Hook, nullptr, GetCurrentThreadId());
    }
    ~QueueWatch() {
        UnhookWindowsHookEx(m_hook);
        s_self = nullptr;
    }
    // Tick counts of the WM_TIMER messages with this id.
    std::vector<ULONGLONG> Timers(UINT_PTR id) const {
        std::vector<ULONGLONG> out;
        for (const auto& t : m_timers)
            if (t.first == id)
                out.push_back(t.second);
        return out;
    }
    void Clear() { m_timers.clear(); }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        auto* msg = reinterpret_cast<MSG*>(lParam);
        if (code == HC_ACTION && wParam == PM_REMOVE && s_self && msg->hwnd == s_self->m_hwnd &&
            msg->message == WM_TIMER)
            s_self->m_timers.push_back({msg->wParam, GetTickCount64()});
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static QueueWatch* s_self;
    HWND m_hwnd = nullptr;
    HHOOK m_hook = nullptr;
    std::vector<std::pair<UINT_PTR, ULONGLONG>> m_timers;
};
QueueWatch* QueueWatch::s_self = nullptr;

// Records the type of every notification the window's controls raise.
class NotifyRecorder : public INotifyUI {
public:
    void Notify(TNotifyUI& msg) override { types.push_back(msg.sType.str()); }
    std::vector<std::wstring> types;
};

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = apptest::OpenMainFrame();
        ASSERT_NE(frame, nullptr);
        hwnd = frame->GetHWND();
        Engine(frame).Clear();
    }
    void TearDown() override { apptest::DestroyMainFrame(frame); }

    void ClickControl(const wchar_t* name) {
        CControlUI* control = apptest::Find(frame, name);
        ASSERT_NE(control, nullptr) << name;
        apptest::Click(hwnd, apptest::CenterOf(control));
    }
    SIZE WindowSize() const {
        RECT rc;
        GetWindowRect(hwnd, &rc);
        return {rc.right - rc.left, rc.bottom - rc.top};
    }

    CMainFrame* frame = nullptr;
    HWND hwnd = nullptr;
};

TEST_F(MainFrameTest, StartsRestoredWithItsControlsFoundAndPolling) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    EXPECT_EQ(rc.right, 840);
    EXPECT_EQ(rc.bottom, 600);
    EXPECT_TRUE(IsShown(frame, L"btn_max"));
    EXPECT_FALSE(IsShown(frame, L"btn_restore"));
    EXPECT_EQ(frame->m_bReady, 1);
    EXPECT_NE(frame->m_pVolumeSlider, nullptr);
    EXPECT_NE(frame->m_pPlaySlider, nullptr);
    EXPECT_NE(frame->m_pCurTimeText, nullptr);
    EXPECT_NE(frame->m_pTotalTimeText, nullptr);
    EXPECT_EQ(frame->m_pVideoWnd, nullptr);
    // No cfg.cfg beside this test: the defaults stay.
    EXPECT_EQ(frame->m_effect.shape, 1);
    EXPECT_EQ(frame->m_effect.effectCode, 0);

    QueueWatch watch(hwnd);
    apptest::Pump(550);
    EXPECT_GE(watch.Timers(kTimerPoll).size(), 3u);
    EXPECT_TRUE(Engine(frame).Commands().empty());

    testsupport::SaveWindowPng(hwnd, testsupport::ScreenshotPath(L"app_mainframe_start.png").c_str());
}

TEST_F(MainFrameTest, HitTestBandsOfARestoredWindow) {
    // Size box 4,4,6,6 over 840x600: strict tests, so 3 and 835 are in, 4 and 834 out.
    struct Case { int x, y; LRESULT expected; };
    const Case cases[] = {
        {0, 0, HTTOPLEFT},       {3, 3, HTTOPLEFT},       {4, 3, HTTOP},         {834, 0, HTTOP},
        {835, 0, HTTOPRIGHT},    {839, 3, HTTOPRIGHT},    {0, 595, HTBOTTOMLEFT}, {4, 595, HTBOTTOM},
        {835, 599, HTBOTTOMRIGHT}, {420, 594, HTCLIENT},  {3, 300, HTLEFT},      {4, 300, HTCLIENT},
        {835, 300, HTRIGHT},     {834, 300, HTCLIENT},
        // The caption band is y 0..63 over drag areas (containers, spacers).
        {260, 30, HTCAPTION},    {300, 4, HTCAPTION},     {300, 63, HTCAPTION},  {300, 64, HTCLIENT},
    };
    for (const Case& c : cases)
        EXPECT_EQ(apptest::HitTest(hwnd, c.x, c.y), c.expected) << "at " << c.x << "," << c.y;

    // Buttons and texts inside the band keep their clicks.
    POINT close = apptest::CenterOf(apptest::Find(frame, L"btn_close"));
    EXPECT_EQ(apptest::HitTest(hwnd, close.x, close.y), HTCLIENT);
    POINT setting = apptest::CenterOf(apptest::Find(frame, L"btn_setting"));
    EXPECT_EQ(apptest::HitTest(hwnd, setting.x, setting.y), HTCLIENT);
    auto* listbar = static_cast<CContainerUI*>(apptest::Find(frame, L"listbar")->GetInterface(L"Container"));
    ASSERT_NE(listbar, nullptr);
    CControlUI* listTitle = listbar->GetItemAt(0);
    ASSERT_STREQ(listTitle->GetClass(), L"TextUI");
    ASSERT_LT(listTitle->GetPos().top, 63);
    EXPECT_EQ(apptest::HitTest(hwnd, apptest::CenterOf(listTitle).x, listTitle->GetPos().top + 1), HTCLIENT);
    // The mouse-transparent title text is part of the drag area.
    POINT title = apptest::CenterOf(apptest::Find(frame, L"txt_title"));
    EXPECT_EQ(apptest::HitTest(hwnd, title.x, title.y), HTCAPTION);
}

TEST_F(MainFrameTest, HitTestOfAMaximisedWindowHasNoBorders) {
    ClickControl(L"btn_max");
    ASSERT_TRUE(IsZoomed(hwnd));
    RECT rc;
    GetClientRect(hwnd, &rc);
    EXPECT_EQ(apptest::HitTest(hwnd, 0, 0), HTCAPTION);
    EXPECT_EQ(apptest::HitTest(hwnd, rc.right - 1, 30), HTCAPTION);
    EXPECT_EQ(apptest::HitTest(hwnd, 300, 63), HTCAPTION);
    EXPECT_EQ(apptest::HitTest(hwnd, 0, 300), HTCLIENT);
    EXPECT_EQ(apptest::HitTest(hwnd, rc.right - 1, rc.bottom - 1), HTCLIENT);
    POINT close = apptest::CenterOf(apptest::Find(frame, L"btn_close"));
    EXPECT_EQ(apptest::HitTest(hwnd, close.x, close.y), HTCLIENT);
}

TEST_F(MainFrameTest, SizeLimitsAreTheLayoutMinimumAndTheScreen) {
    MINMAXINFO info{};
    info.ptMaxSize = {1234, 567};
    info.ptMaxPosition = {-8, -8};
    SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMaxPosition.x, 0);
    EXPECT_EQ(info.ptMaxPosition.y, 0);
    EXPECT_EQ(info.ptMaxTrackSize.x, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(info.ptMaxTrackSize.y, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(info.ptMinTrackSize.x, 840);
    EXPECT_EQ(info.ptMinTrackSize.y, 600);
    EXPECT_EQ(info.ptMaxSize.x, 1234);  // left as the system gave it
    EXPECT_EQ(info.ptMaxSize.y, 567);

    // The system applies the limits to real size changes.
    SetWindowPos(hwnd, nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(WindowSize().cx, 840);
    EXPECT_EQ(WindowSize().cy, 600);
    SetWindowPos(hwnd, nullptr, 0, 0, 5000, 4000, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(WindowSize().cx, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(WindowSize().cy, GetSystemMetrics(SM_CYSCREEN));
}

TEST_F(MainFrameTest, WindowButtonsAndCaptionKeepMaximiseAndRestoreInStep) {
    ClickControl(L"btn_max");
    EXPECT_TRUE(IsZoomed(hwnd));
    EXPECT_FALSE(IsShown(frame, L"btn_max"));
    EXPECT_TRUE(IsShown(frame, L"btn_restore"));

    ClickControl(L"btn_restore");
    EXPECT_FALSE(IsZoomed(hwnd));
    EXPECT_TRUE(IsShown(frame, L"btn_max"));
    EXPECT_FALSE(IsShown(frame, L"btn_restore"));

    // A double-click on the caption band goes through the same system commands.
    POINT caption{300, 30};
    ClientToScreen(hwnd, &caption);
    SendMessageW(hwnd, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(caption.x, caption.y));
    apptest::Pump(50);
    EXPECT_TRUE(IsZoomed(hwnd));
    EXPECT_TRUE(IsShown(frame, L"btn_restore"));
    EXPECT_FALSE(IsShown(frame, L"btn_max"));

    // Minimising a maximised window shows "btn_max"; restoring it from the taskbar
    // returns to the maximised state and shows "btn_restore" again.
    ClickControl(L"btn_min");
    EXPECT_TRUE(IsIconic(hwnd));
    EXPECT_TRUE(IsShown(frame, L"btn_max"));
    EXPECT_FALSE(IsShown(frame, L"btn_restore"));
    SendMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    apptest::Pump(50);
    EXPECT_TRUE(IsZoomed(hwnd));
    EXPECT_TRUE(IsShown(frame, L"btn_restore"));
    EXPECT_FALSE(IsShown(frame, L"btn_max"));

    POINT caption2{300, 30};
    ClientToScreen(hwnd, &caption2);
    SendMessageW(hwnd, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(caption2.x, caption2.y));
    apptest::Pump(50);
    EXPECT_FALSE(IsZoomed(hwnd));
    EXPECT_TRUE(IsShown(frame, L"btn_max"));
    EXPECT_FALSE(IsShown(frame, L"btn_restore"));
    EXPECT_TRUE(Engine(frame).Commands().empty());
}

TEST_F(MainFrameTest, CloseHidesTheWindowAndEndsTheLoopLeavingTheEngineAlone) {
    Engine(frame).script.status = 1;  // a file is playing
    CControlUI* close = apptest::Find(frame, L"btn_close");
    POINT at = apptest::CenterOf(close);
    PostMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));

    EXPECT_TRUE(apptest::RunLibraryLoopUntilQuit(5000)) << "the close did not end the message loop";
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_TRUE(IsWindow(hwnd)) << "closing must not destroy the window";
    for (const auto& call : Engine(frame).Commands())
        ADD_FAILURE() << "engine called on close: " << call.Text();
}

TEST_F(MainFrameTest, EveryNotificationWritesOneDebuggerLine) {
    NotifyRecorder recorder;
    frame->GetPaintManager().AddNotifier(&recorder);
    DebugOutputCapture capture;

    // Real pointer traffic over several controls, then a click on a playback button.
    apptest::Click(hwnd, apptest::CenterOf(apptest::Find(frame, L"btn_stop")));
    apptest::Click(hwnd, apptest::CenterOf(apptest::Find(frame, L"btn_prev")));
    PostMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(300, 300));
    apptest::Pump(50);
    // Types nobody handles still leave their line.
    TNotifyUI odd;
    odd.sType = L"someothertype";
    frame->Notify(odd);
    recorder.types.push_back(L"someothertype");

    frame->GetPaintManager().RemoveNotifier(&recorder);
    std::vector<std::wstring> lines = capture.Lines();
    ASSERT_GE(recorder.types.size(), 3u);
    EXPECT_EQ(std::count(recorder.types.begin(), recorder.types.end(), L"click"), 2);
    ASSERT_EQ(lines.size(), recorder.types.size());
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i], L"msg  " + recorder.types[i] + L" \r\n");
}

TEST_F(MainFrameTest, SliderChangesReachTheEngineWithExactValues) {
    CPaintManagerUI& pm = frame->GetPaintManager();
    CSliderUI* volume = frame->m_pVolumeSlider;
    CSliderUI* seek = frame->m_pPlaySlider;
    ASSERT_TRUE(volume && seek);

    volume->SetValue(37);
    pm.SendNotify(volume, DUI_MSGTYPE_VALUECHANGED);
    ASSERT_EQ(Engine(frame).Commands().size(), 1u);
    EXPECT_EQ(Engine(frame).Commands()[0].name, "volume");
    EXPECT_EQ(Engine(frame).Commands()[0].numbers, (std::vector<double>{37.0, 37.0}));

    Engine(frame).Clear();
    seek->SetValue(250);
    frame->m_bSeeking = 0;
    pm.SendNotify(seek, DUI_MSGTYPE_VALUECHANGED);
    ASSERT_EQ(Engine(frame).Commands().size(), 1u);
    EXPECT_EQ(Engine(frame).Commands()[0].name, "seek_to");
    EXPECT_EQ(Engine(frame).Commands()[0].numbers, (std::vector<double>{0.25}));
    EXPECT_EQ(frame->m_bSeeking, 1);
    // The next left-button release in the window ends the seek.
    PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(300, 300));
    apptest::Pump(50);
    EXPECT_EQ(frame->m_bSeeking, 0);

    // An empty range makes no engine call; the seek flag is still raised.
    Engine(frame).Clear();
    volume->SetMaxValue(0);
    seek->SetMaxValue(0);
    pm.SendNotify(volume, DUI_MSGTYPE_VALUECHANGED);
    pm.SendNotify(seek, DUI_MSGTYPE_VALUECHANGED);
    EXPECT_TRUE(Engine(frame).Commands().empty());
    EXPECT_EQ(frame->m_bSeeking, 1);

    // Other senders are not sliders of this window.
    pm.SendNotify(apptest::Find(frame, L"btn_stop"), DUI_MSGTYPE_VALUECHANGED);
    EXPECT_TRUE(Engine(frame).Commands().empty());
}

TEST_F(MainFrameTest, DraggingTheVolumeSliderSetsThatVolume) {
    CSliderUI* volume = frame->m_pVolumeSlider;
    const RECT& rc = volume->GetPos();
    POINT at{rc.left + (rc.right - rc.left) * 3 / 4, (rc.top + rc.bottom) / 2};
    apptest::Click(hwnd, at);
    auto calls = Engine(frame).Commands();
    ASSERT_EQ(calls.size(), 1u);
    double v = volume->GetValue();
    EXPECT_GT(v, 50.0);
    EXPECT_EQ(calls[0].name, "volume");
    EXPECT_EQ(calls[0].numbers, (std::vector<double>{v, v}));
}

TEST_F(MainFrameTest, SizeBurstFitsOnceAndTheResumeTimerSeeksOnce) {
    QueueWatch watch(hwnd);
    ULONGLONG lastSize = 0;
    for (int i = 0; i < 8; ++i) {
        SetWindowPos(hwnd, nullptr, 0, 0, 860 + 10 * i, 620, SWP_NOMOVE | SWP_NOZORDER);
        lastSize = GetTickCount64();
        apptest::Pump(30);
    }
    apptest::Pump(500);
    std::vector<ULONGLONG> fits = watch.Timers(kTimerFitVideo);
    ASSERT_EQ(fits.size(), 1u);
    EXPECT_GE(fits[0] - lastSize, 80u);

    // Timer 3 seeks to the saved fraction once; timers of other ids do nothing here.
    frame->m_fResumePos = 0.4f;
    SetTimer(hwnd, kTimerResumeSeek, 500, nullptr);
    SetTimer(hwnd, 77, 50, nullptr);
    apptest::Pump(1200);
    KillTimer(hwnd, 77);
    EXPECT_EQ(watch.Timers(kTimerResumeSeek).size(), 1u);
    EXPECT_GE(watch.Timers(77).size(), 2u);
    std::vector<recording::EngineCall> calls = Engine(frame).Commands();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].name, "seek_to");
    EXPECT_EQ(calls[0].numbers, (std::vector<double>{static_cast<double>(0.4f)}));
}

TEST_F(MainFrameTest, SpaceAndEnterToggleOnlyAPlayingOrPausedEngine) {
    auto press = [&](WPARAM key) {
        PostMessageW(hwnd, WM_KEYDOWN, key, 1);
        apptest::Pump(30);
    };
    recording::EngineRecord& engine = Engine(frame);

    press(VK_SPACE);  // nothing loaded
    press(VK_RETURN);
    EXPECT_TRUE(engine.Commands().empty());

    engine.script.status = 1;
    press(VK_SPACE);
    EXPECT_EQ(engine.CommandTexts(), (std::vector<std::string>{"pause()"}));
    press(VK_RETURN);
    EXPECT_EQ(engine.CommandTexts(), (std::vector<std::string>{"pause()", "resume()"}));

    // Escape is taken (no video window yet, so nothing toggles) and never closes.
    press(VK_ESCAPE);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_EQ(engine.CommandTexts().size(), 2u);
}

} // namespace
