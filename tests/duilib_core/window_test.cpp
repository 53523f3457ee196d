// Window lifecycle: creation from the skin, sizes, hooks in order, failure, the modal
// loop, the message loop, caption hit testing and what a window shows.
#include <gtest/gtest.h>

#include "core_fixture.h"
#include "support/screenshot.h"

using namespace DuiLib;
using namespace coretest;

namespace {

bool Contains(const std::vector<std::wstring>& log, const std::wstring& entry) {
    return std::find(log.begin(), log.end(), entry) != log.end();
}

size_t IndexOf(const std::vector<std::wstring>& log, const std::wstring& entry) {
    return static_cast<size_t>(std::find(log.begin(), log.end(), entry) - log.begin());
}

// What the window answers for a point of its client area.
LRESULT HitTest(HWND h, int x, int y) {
    POINT pt{x, y};
    ::ClientToScreen(h, &pt);
    return ::SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
}

SIZE ClientSize(HWND h) {
    RECT rc{};
    ::GetClientRect(h, &rc);
    return {rc.right, rc.bottom};
}

using Window = WindowTest;

// Timers that end a modal loop from inside it.
CWindowWnd* g_modal = nullptr;
HWND g_owner = nullptr;
bool g_ownerDisabledDuring = false;
int g_ticks = 0;
void CALLBACK CloseModal(HWND, UINT, UINT_PTR id, DWORD) {
    ++g_ticks;
    g_ownerDisabledDuring = !::IsWindowEnabled(g_owner);
    ::KillTimer(nullptr, id);
    g_modal->Close(42);
}
void CALLBACK QuitInsideModal(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    ::PostQuitMessage(9);
}

// Counts what reaches a window it did not create.
class Spy : public CWindowWnd {
public:
    int clicks = 0;
    bool finalRan = false;
    LPCTSTR GetWindowClassName() const override { return L"MorvaneCoreSpy"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override {
        if (uMsg == WM_LBUTTONDOWN) ++clicks;
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }
    void OnFinalMessage(HWND) override { finalRan = true; }
};

} // namespace

TEST_F(Window, CreationBuildsTheLayoutSizesTheWindowThenCallsInitWindow) {
    ASSERT_NE(Open(L"created", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, CW_USEDEFAULT), nullptr);
    EXPECT_EQ(static_cast<HWND>(wnd), h);
    EXPECT_EQ(wnd.GetHWND(), h);
    EXPECT_EQ(ClientSize(h).cx, 400);
    EXPECT_EQ(ClientSize(h).cy, 300);
    EXPECT_TRUE(wnd.laidOutAtInit) << "controls have their places inside InitWindow";
    ASSERT_TRUE(Contains(wnd.log, L"InitWindow"));
    EXPECT_LT(IndexOf(wnd.log, L"HandleMessage:CREATE"), IndexOf(wnd.log, L"InitWindow"));
    EXPECT_EQ(std::count(wnd.log.begin(), wnd.log.end(), L"InitWindow"), 1);
    EXPECT_FALSE(::GetWindowLongW(h, GWL_STYLE) & WS_CAPTION) << "the skin draws the caption";
    EXPECT_TRUE(::GetClassLongPtrW(h, GCL_STYLE) & CS_DBLCLKS) << "double-clicks are delivered";

    // Windows attributes reach the system's size limits.
    MINMAXINFO mmi{};
    ::SendMessageW(h, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    EXPECT_EQ(mmi.ptMinTrackSize.x, 300);
    EXPECT_EQ(mmi.ptMaxTrackSize.y, 600);

    // A size change lays the tree out again.
    ::SetWindowPos(h, nullptr, 0, 0, 500, 350, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(wnd.Find<CControlUI>(L"root")->GetWidth(), 500);
    EXPECT_EQ(wnd.Find<CControlUI>(L"filler")->GetPos().bottom, 350);

    // An explicit size is kept.
    TestWnd sized;
    HWND h2 = sized.Create(nullptr, L"sized", WS_POPUP, 0, 0, 0, 250, 120);
    ASSERT_NE(h2, nullptr);
    EXPECT_EQ(ClientSize(h2).cx, 250);
    EXPECT_EQ(ClientSize(h2).cy, 120);
    ::DestroyWindow(h2);
}

TEST_F(Window, ChildWindowsWorkAndCanBecomePopupsAndBack) {
    UseTestSkin({{"Res/Child.xml", "<Window size=\"120,80\"><VerticalLayout name=\"child_root\" bkcolor=\"#FF000000\">"
                                   "<Label name=\"msg\" text=\"x\"/></VerticalLayout></Window>"}});
    HWND hp = Open(L"parent", WS_POPUP | WS_VISIBLE, 10, 10);
    ASSERT_NE(hp, nullptr);
    TestWnd child;
    child.skin = L"Child.xml";
    child.folder = L"Res";
    HWND hc = child.Open(L"child", WS_CHILD, CW_USEDEFAULT, CW_USEDEFAULT, hp);
    ASSERT_NE(hc, nullptr);
    EXPECT_EQ(::GetParent(hc), hp);
    EXPECT_EQ(ClientSize(hc).cx, 120);
    EXPECT_EQ(ClientSize(hc).cy, 80);
    child.ShowWindow(true, false);
    EXPECT_TRUE(::IsWindowVisible(hc));
    EXPECT_NE(::GetFocus(), hc) << "shown without taking the focus";
    EXPECT_EQ(HitTest(hc, 10, 10), HTCLIENT);

    // Out of the parent as a pop-up over the screen, then back.
    ::SetWindowLongW(hc, GWL_STYLE, (::GetWindowLongW(hc, GWL_STYLE) & 0x3FFFFFFF) | WS_POPUP);
    ::SetParent(hc, nullptr);
    ::SetWindowPos(hc, HWND_TOPMOST, 0, 0, 640, 480, SWP_SHOWWINDOW);
    EXPECT_EQ(child.Find<CControlUI>(L"child_root")->GetWidth(), 640);
    ::SetParent(hc, hp);
    ::SetWindowLongW(hc, GWL_STYLE, (::GetWindowLongW(hc, GWL_STYLE) & 0x3FFFFFFF) | WS_CHILD);
    ::SetWindowPos(hc, nullptr, 5, 5, 100, 50, SWP_NOZORDER);
    EXPECT_EQ(child.Find<CControlUI>(L"child_root")->GetHeight(), 50);
    EXPECT_EQ(::GetParent(hc), hp);
    ::DestroyWindow(hp);
    EXPECT_FALSE(::IsWindow(hc)) << "the child goes with its parent";
    EXPECT_TRUE(Contains(child.log, L"OnFinalMessage"));
}

TEST_F(Window, FinalMessageComesLastAndTheObjectMayDeleteItself) {
    std::vector<std::wstring> log;
    auto* doomed = new TestWnd;
    doomed->onFinal = [&log, doomed] {
        log = doomed->log;
        delete doomed;   // as a main window does in its own OnFinalMessage
    };
    h = doomed->Open(L"selfdelete");
    ASSERT_NE(h, nullptr);
    PumpIdle();
    ::DestroyWindow(h);
    EXPECT_FALSE(::IsWindow(h));
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), L"OnFinalMessage") << "after WM_DESTROY, with the handle already cleared";
    EXPECT_LT(IndexOf(log, L"HandleMessage:DESTROY"), log.size() - 1);
    PumpIdle();  // nothing may reach the deleted object
}

TEST_F(Window, LayoutThatCannotBeBuiltFailsCreationCleanly) {
    UseTestSkin({{"Bad.xml", "<Window><VerticalLayout><Button></Window>"},
                 {"Empty.xml", "<Window size=\"10,10\"/>"}});
    for (const wchar_t* skin : {L"Missing.xml", L"Bad.xml", L"Empty.xml"}) {
        TestWnd broken;
        broken.skin = skin;
        EXPECT_EQ(broken.Open(L"broken"), nullptr) << skin;
        EXPECT_EQ(broken.GetHWND(), nullptr);
        EXPECT_FALSE(Contains(broken.log, L"InitWindow")) << skin;
        // The creator still owns the object: no final message, so no double delete.
        EXPECT_FALSE(Contains(broken.log, L"OnFinalMessage")) << skin;
        EXPECT_EQ(broken.Manager().GetRoot(), nullptr);
    }
    // The same object can try again once the skin is there.
    wnd.skin = L"Later.xml";
    EXPECT_EQ(wnd.Create(nullptr, L"later", WS_POPUP, 0, 0, 0, 10, 10), nullptr);
    UseTestSkin({{"Later.xml", "<Window><Control name=\"later\"/></Window>"}});
    h = wnd.Create(nullptr, L"later", WS_POPUP, 0, 0, 0, 10, 10);
    ASSERT_NE(h, nullptr);
    EXPECT_NE(wnd.Find<CControlUI>(L"later"), nullptr);
}

TEST_F(Window, ShowModalDisablesTheOwnerAndReturnsTheCloseCode) {
    g_owner = Open(L"owner");
    ASSERT_NE(g_owner, nullptr);
    TestWnd dialog;
    HWND hd = dialog.Open(L"dialog", 0x96C80000, 0, CW_USEDEFAULT, g_owner);
    ASSERT_NE(hd, nullptr);
    dialog.CenterWindow();
    RECT ro{}, rd{};
    ::GetWindowRect(g_owner, &ro);
    ::GetWindowRect(hd, &rd);
    EXPECT_EQ((rd.left + rd.right) / 2, (ro.left + ro.right) / 2) << "centred over its visible owner";

    g_modal = &dialog;
    g_ticks = 0;
    ::SetTimer(nullptr, 0, 50, CloseModal);
    const UINT result = dialog.ShowModal();
    EXPECT_EQ(result, 42u);
    EXPECT_EQ(g_ticks, 1) << "timers run inside the modal loop";
    EXPECT_TRUE(g_ownerDisabledDuring);
    EXPECT_TRUE(::IsWindowEnabled(g_owner));
    EXPECT_FALSE(::IsWindow(hd));
    EXPECT_TRUE(Contains(dialog.log, L"OnFinalMessage"));

    // A quit message ends the modal loop and is passed on to the outer loop.
    TestWnd second;
    HWND h2 = second.Open(L"second", WS_POPUP | WS_VISIBLE, 0, 0, g_owner);
    ASSERT_NE(h2, nullptr);
    ::SetTimer(nullptr, 0, 30, QuitInsideModal);
    second.ShowModal();
    EXPECT_TRUE(::IsWindowEnabled(g_owner));
    EXPECT_EQ(CPaintManagerUI::MessageLoop(), 9);
    ::DestroyWindow(h2);
}

TEST_F(Window, SystemCloseGoesThroughClose) {
    ASSERT_NE(Open(L"sysclose"), nullptr);
    ::PostMessageW(h, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(wnd.ShowModal(), static_cast<UINT>(IDOK));
    EXPECT_FALSE(::IsWindow(h));
}

TEST_F(Window, MessageLoopDispatchesUntilQuitAndAnswersItsCode) {
    ASSERT_NE(Open(L"loop", WS_POPUP), nullptr);
    const size_t before = wnd.log.size();
    ::PostMessageW(h, WM_LBUTTONDOWN, 0, At(390, 290));
    ::PostQuitMessage(3);
    EXPECT_EQ(CPaintManagerUI::MessageLoop(), 3);
    EXPECT_TRUE(Contains({wnd.log.begin() + static_cast<long>(before), wnd.log.end()}, L"HandleMessage:LBUTTONDOWN"));
    MSG msg;
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "the quit is not posted again";
}

TEST_F(Window, CaptionAndSizeBoxDecideTheHitTest) {
    ASSERT_NE(Open(L"hittest", WS_POPUP | WS_VISIBLE | WS_THICKFRAME, 50, 60), nullptr);
    EXPECT_EQ(ClientSize(h).cx, 400) << "the whole window is client area";
    EXPECT_EQ(HitTest(h, 1, 1), HTTOPLEFT);
    EXPECT_EQ(HitTest(h, 200, 2), HTTOP);
    EXPECT_EQ(HitTest(h, 399, 1), HTTOPRIGHT);
    EXPECT_EQ(HitTest(h, 2, 150), HTLEFT);
    EXPECT_EQ(HitTest(h, 397, 150), HTRIGHT);
    EXPECT_EQ(HitTest(h, 200, 298), HTBOTTOM);
    EXPECT_EQ(HitTest(h, 399, 299), HTBOTTOMRIGHT);
    EXPECT_EQ(HitTest(h, 50, 15), HTCAPTION) << "a mouse-transparent label in the caption drags";
    EXPECT_EQ(HitTest(h, 200, 15), HTCAPTION) << "so does a spacer";
    EXPECT_EQ(HitTest(h, 385, 15), HTCLIENT) << "a button stays clickable";
    EXPECT_EQ(HitTest(h, 200, 45), HTCLIENT) << "below the caption band";
}

TEST_F(Window, PaintsTheLayoutIntoTheWindow) {
    ASSERT_NE(Open(L"paint", WS_POPUP | WS_VISIBLE, 20, 20), nullptr);
    PumpIdle();
    testsupport::Shot shot;
    ASSERT_TRUE(testsupport::CaptureWindow(h, shot));
    ASSERT_EQ(shot.width, 400);
    ASSERT_EQ(shot.height, 300);
    auto at = [&](int x, int y) { return shot.At(x, y); };
    EXPECT_EQ(at(250, 5), 0x445B84u) << "caption background";
    EXPECT_EQ(at(395, 5), 0xCC3333u) << "close button background";
    EXPECT_EQ(at(200, 250), 0xFFFFFFu) << "root background";
    EXPECT_EQ(at(150, 90), 0x8090A0u) << "Default background of buttons";
    // The title is drawn: some pixels of the caption's left part are not the caption colour.
    int textPixels = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x) textPixels += at(x, y) != 0x445B84u;
    EXPECT_GT(textPixels, 20);
    // The slider's unskinned thumb sits in the middle.
    EXPECT_NE(at(200, 50), 0xFFFFFFu);
    testsupport::SaveWindowPng(h, testsupport::ScreenshotPath(L"duilib_core_window.png").c_str());
}

TEST_F(Window, LayoutRequestsBetweenPaintsAreAllLaidOutByTheNextPaint) {
    ASSERT_NE(Open(L"relayout", WS_POPUP | WS_VISIBLE, 20, 20), nullptr);
    PumpIdle();
    CControlUI* ok = wnd.Find<CControlUI>(L"btn_ok");
    ASSERT_NE(ok, nullptr);
    ASSERT_EQ(ok->GetWidth(), 100);
    for (int width : {120, 140, 160}) ok->SetFixedWidth(width);
    EXPECT_TRUE(wnd.Manager().IsUpdateNeeded());
    PumpIdle();
    EXPECT_EQ(ok->GetWidth(), 160) << "the last request before the paint counts";
    EXPECT_FALSE(wnd.Manager().IsUpdateNeeded());
    ok->SetFixedWidth(80);
    PumpIdle();
    EXPECT_EQ(ok->GetWidth(), 80) << "a request after a paint brings another one";
}

TEST_F(Window, AWindowDestroyedFromItsOwnClickIsNotTouchedAfterwards) {
    auto* doomed = new TestWnd;
    bool finalRan = false;
    doomed->onFinal = [&finalRan, doomed] {
        finalRan = true;
        delete doomed;
    };
    h = doomed->Open(L"suicide");
    ASSERT_NE(h, nullptr);
    doomed->onClick = [this] { ::DestroyWindow(h); };
    // The click destroys the window and deletes the object inside this call.
    Click(h, Center(doomed->Find<CControlUI>(L"btn_ok")));
    EXPECT_TRUE(finalRan);
    EXPECT_FALSE(::IsWindow(h));
}

TEST_F(Window, AnObjectDeletedBeforeItsWindowLeavesTheWindowHarmless) {
    auto* orphan = new TestWnd;
    h = orphan->Open(L"orphan");
    ASSERT_NE(h, nullptr);
    delete orphan;
    // Later messages get default handling instead of reaching freed memory.
    Click(h, {50, 80});
    ::InvalidateRect(h, nullptr, FALSE);
    ::UpdateWindow(h);
    EXPECT_TRUE(::DestroyWindow(h));
}

TEST_F(Window, SubclassSeesMessagesUntilUnsubclassed) {
    h = ::CreateWindowExW(0, L"STATIC", L"plain", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(h, nullptr);
    Spy spy;
    EXPECT_EQ(spy.Subclass(h), h);
    ::SendMessageW(h, WM_LBUTTONDOWN, 0, 0);
    wchar_t text[16] = {};
    ::GetWindowTextW(h, text, 16);
    EXPECT_STREQ(text, L"plain") << "the original procedure still does its work";
    spy.Unsubclass();
    ::SendMessageW(h, WM_LBUTTONDOWN, 0, 0);
    EXPECT_EQ(spy.clicks, 1);
    EXPECT_EQ(spy.GetHWND(), nullptr);

    Spy second;
    second.Subclass(h);
    ::DestroyWindow(h);
    EXPECT_TRUE(second.finalRan);
    EXPECT_EQ(second.GetHWND(), nullptr);
}
