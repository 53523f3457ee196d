// Mouse and keyboard reaching controls of a real window: clicks, hot and pushed
// states, slider dragging, keys, tooltips, and the order hooks see a message in.
#include <gtest/gtest.h>

#include "core_fixture.h"
#include "duilib/UIPressState.h"
#include "support/same_font.h"

#include <commctrl.h>

using namespace DuiLib;
using namespace coretest;

namespace {

class InputTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        hwnd = Open(L"input", WS_POPUP | WS_VISIBLE, 100, 100);
        ASSERT_NE(hwnd, nullptr);
        PumpIdle();
        slider = wnd.Find<CSliderUI>(L"slider");
        ok = wnd.Find<CButtonUI>(L"btn_ok");
        ASSERT_TRUE(slider && ok);
    }
    HWND hwnd = nullptr;
    CSliderUI* slider = nullptr;
    CButtonUI* ok = nullptr;
};

} // namespace

TEST_F(InputTest, ClickIsRaisedOnReleaseInsideOnly) {
    const POINT c = Center(ok);
    Down(hwnd, c.x, c.y);
    EXPECT_TRUE(ok->IsPushed());
    EXPECT_EQ(wnd.Count(DUI_MSGTYPE_CLICK), 0) << "nothing on the press";
    Move(hwnd, c.x + 200, c.y);
    EXPECT_FALSE(ok->IsPushed()) << "pressed looks follow the pointer";
    Move(hwnd, c.x, c.y);
    EXPECT_TRUE(ok->IsPushed());
    Up(hwnd, c.x + 1, c.y + 1);
    EXPECT_FALSE(ok->IsPushed());
    EXPECT_EQ(wnd.Count(DUI_MSGTYPE_CLICK, L"btn_ok"), 1);
    ASSERT_FALSE(wnd.log.empty());
    EXPECT_EQ(wnd.log.back(), L"OnClick:btn_ok") << "the default Notify hands clicks to OnClick";

    // Released outside: no click.
    Down(hwnd, c.x, c.y);
    Move(hwnd, 390, 290);
    Up(hwnd, 390, 290);
    EXPECT_EQ(wnd.Count(DUI_MSGTYPE_CLICK), 1);

    // Pressed outside, released on it: no click either.
    Down(hwnd, 390, 290);
    Up(hwnd, c.x, c.y);
    EXPECT_EQ(wnd.Count(DUI_MSGTYPE_CLICK), 1);

    // A disabled button never clicks.
    Click(hwnd, Center(wnd.Find<CControlUI>(L"btn_off")));
    EXPECT_EQ(wnd.Count(DUI_MSGTYPE_CLICK), 1);
    EXPECT_EQ(::GetCapture(), nullptr) << "capture is given back on release";
}

TEST_F(InputTest, HotFollowsThePointerAndLeavesWithIt) {
    const POINT c = Center(ok);
    Move(hwnd, c.x, c.y, false);
    EXPECT_TRUE(ok->IsHot());
    EXPECT_EQ(wnd.Manager().GetHot(), ok);
    Move(hwnd, 200, 250, false);
    EXPECT_FALSE(ok->IsHot());
    Move(hwnd, c.x, c.y, false);
    ::SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(ok->IsHot());
    EXPECT_EQ(wnd.Manager().GetHot(), nullptr);

    // Hiding the hot control clears its hot look, so it does not come back lit.
    Move(hwnd, c.x, c.y, false);
    ok->SetVisible(false);
    EXPECT_FALSE(ok->IsHot());
    ok->SetVisible(true);
}

TEST_F(InputTest, SliderDragFollowsTheMouseAndReportsOnceOnRelease) {
    // Slider: x 10..390, y 40..60; thumb 20 wide, so 360 pixels of travel for 0..1000.
    const RECT thumb = slider->GetThumbRect();
    EXPECT_EQ(thumb.left, 190);
    EXPECT_EQ(thumb.right, 210);
    Down(hwnd, 200, 50);
    EXPECT_TRUE(slider->IsDragging());
    EXPECT_EQ(::GetCapture(), hwnd);
    EXPECT_EQ(slider->GetValue(), 500) << "grabbing the thumb does not move it";
    Move(hwnd, 110, 50);
    EXPECT_EQ(slider->GetValue(), 250);
    Move(hwnd, 700, 50);   // beyond the window: capture keeps it coming
    EXPECT_EQ(slider->GetValue(), 1000);
    Move(hwnd, -300, 50);
    EXPECT_EQ(slider->GetValue(), 0);
    EXPECT_EQ(wnd.Count(DUI_MSGTYPE_VALUECHANGED), 0) << "nothing while dragging";
    Up(hwnd, 290, 50);
    EXPECT_EQ(slider->GetValue(), 750);
    EXPECT_FALSE(slider->IsDragging());
    EXPECT_EQ(wnd.Count(DUI_MSGTYPE_VALUECHANGED, L"slider"), 1);

    // Grabbing off-centre keeps the grabbed spot under the pointer.
    const RECT t2 = slider->GetThumbRect();
    Down(hwnd, t2.left + 1, 50);
    Move(hwnd, t2.left + 1 - 36, 50);
    Up(hwnd, t2.left + 1 - 36, 50);
    EXPECT_EQ(slider->GetValue(), 650);
    EXPECT_EQ(wnd.Count(DUI_MSGTYPE_VALUECHANGED), 2);
}

TEST_F(InputTest, ClickOnTheTrackMovesThereAndReportsOnRelease) {
    Down(hwnd, 20 + 90, 50);   // a quarter of the travel
    EXPECT_EQ(slider->GetValue(), 250);
    EXPECT_EQ(wnd.Count(DUI_MSGTYPE_VALUECHANGED), 0);
    Up(hwnd, 20 + 90, 50);
    EXPECT_EQ(slider->GetValue(), 250);
    EXPECT_EQ(wnd.Count(DUI_MSGTYPE_VALUECHANGED, L"slider"), 1);
    Click(hwnd, Center(ok));
    EXPECT_EQ(slider->GetValue(), 250) << "clicks elsewhere leave it alone";
}

TEST_F(InputTest, KeysReachTheFocusedSliderAndTheWindow) {
    Click(hwnd, {200, 50});
    ASSERT_EQ(wnd.Manager().GetFocus(), slider);
    const int before = wnd.Count(DUI_MSGTYPE_VALUECHANGED);
    ::SendMessageW(hwnd, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(slider->GetValue(), 508) << "one step of the interval";
    ::SendMessageW(hwnd, WM_KEYDOWN, VK_LEFT, 0);
    ::SendMessageW(hwnd, WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(slider->GetValue(), 492);
    ::SendMessageW(hwnd, WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(slider->GetValue(), 1000);
    ::SendMessageW(hwnd, WM_KEYDOWN, VK_END, 0);   // no change, no report
    ::SendMessageW(hwnd, WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(slider->GetValue(), 0);
    EXPECT_EQ(wnd.Count(DUI_MSGTYPE_VALUECHANGED) - before, 5);

    // Return and Escape are not eaten by the default key response.
    struct KeySpy : IMessageFilterUI {
        int seen = 0;
        LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM, bool& bHandled) override {
            if (uMsg == WM_KEYDOWN && (wParam == VK_ESCAPE || wParam == VK_RETURN)) ++seen;
            bHandled = false;
            return 0;
        }
    } spy;
    wnd.Manager().AddMessageFilter(&spy);
    ::SendMessageW(hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
    ::SendMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(spy.seen, 2);
    EXPECT_TRUE(::IsWindow(hwnd));
    wnd.Manager().RemoveMessageFilter(&spy);
}

TEST_F(InputTest, HandleMessageAndHooksComeBeforeTheControl) {
    wnd.log.clear();
    Click(hwnd, Center(wnd.Find<CControlUI>(L"probe")));
    ASSERT_GE(wnd.log.size(), 3u);
    EXPECT_EQ(wnd.log[0], L"HandleMessage:LBUTTONDOWN");
    EXPECT_EQ(wnd.log[1], L"OnLButtonDown");
    EXPECT_EQ(wnd.log[2], L"probe:ButtonDown");
}

TEST_F(InputTest, HoverShowsTheHotControlsTooltip) {
    Hover(hwnd, Center(wnd.Find<CControlUI>(L"btn_close")));
    HWND tip = wnd.Manager().GetTooltipWindow();
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(::IsWindowVisible(tip));
    wchar_t text[64] = {};
    TTTOOLINFOW ti{.cbSize = TTTOOLINFOW_V2_SIZE, .hwnd = hwnd, .uId = 1, .lpszText = text};
    ::SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&ti));
    EXPECT_STREQ(text, L"Close it");
    // In the skin's default font, as the window's own texts: the system's tip font may have no glyphs for them.
    EXPECT_TRUE(testsupport::DrawsIn(tip, wnd.Manager().GetDefaultFont()));
    Move(hwnd, 200, 250, false);
    EXPECT_FALSE(::IsWindowVisible(tip)) << "leaving the control hides it";
    // A control without a tooltip shows none.
    Hover(hwnd, Center(ok));
    EXPECT_FALSE(::IsWindowVisible(tip));
}

TEST_F(InputTest, ScrollBarButtonsAndDragScrollTheOwner) {
    auto* list = new CVerticalLayoutUI;
    list->EnableScrollBar();
    for (int i = 0; i < 20; ++i) list->Add(Fixed(0, 20));
    auto* probeParent = static_cast<CContainerUI*>(wnd.Find<CControlUI>(L"root"));
    probeParent->Remove(wnd.Find<CControlUI>(L"filler"));
    probeParent->Add(list);   // gets y 160..300: 140 high for 400 of rows
    wnd.Manager().UpdateLayout();
    CScrollBarUI* bar = list->GetVerticalScrollBar();
    ASSERT_TRUE(bar->IsVisible());
    EXPECT_EQ(list->GetScrollRange().cy, 260);

    const RECT b2 = bar->GetButton2Rect();
    Click(hwnd, {(b2.left + b2.right) / 2, (b2.top + b2.bottom) / 2});
    EXPECT_EQ(list->GetScrollPos().cy, bar->GetLineSize());

    const RECT thumb = bar->GetThumbRect();
    const int x = (thumb.left + thumb.right) / 2;
    Down(hwnd, x, thumb.top + 2);
    Move(hwnd, x, thumb.top + 2 + 500);
    Up(hwnd, x, thumb.top + 2 + 500);
    EXPECT_EQ(list->GetScrollPos().cy, 260);

    POINT pt{50, 200};
    ::ClientToScreen(hwnd, &pt);
    ::SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
    EXPECT_LT(list->GetScrollPos().cy, 260) << "the wheel over a row scrolls its list";
}

TEST_F(InputTest, RemovingTheClickedControlInsideItsClickIsSafe) {
    // The notifier removes the very button whose click is running.
    auto* row = static_cast<CContainerUI*>(ok->GetParent());
    wnd.onNotify = [&](TNotifyUI& msg) {
        if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender == ok) row->Remove(ok);
    };
    const POINT c = Center(ok);
    Click(hwnd, c);
    EXPECT_EQ(wnd.Find<CControlUI>(L"btn_ok"), nullptr);
    PumpIdle();  // the removed button is destroyed after the message
    Move(hwnd, c.x, c.y, false);
    Click(hwnd, c);
    EXPECT_EQ(wnd.Count(DUI_MSGTYPE_CLICK, L"btn_ok"), 1);
}

TEST(PressState, ReportsOnlyRealChangesAndTracksOnlyWhileHeld) {
    constexpr UINT kHeld = UISTATE_PUSHED | UISTATE_CAPTURED;
    struct Step { const char* what; bool (*apply)(CPressState&); bool changed; UINT bits; };
    const Step steps[] = {
        {"tracking before a press", [](CPressState& s) { return s.Track(false); }, false, 0},
        {"hot", [](CPressState& s) { return s.SetHot(true); }, true, UISTATE_HOT},
        {"press", [](CPressState& s) { return s.Press(); }, true, UISTATE_HOT | kHeld},
        {"pointer leaves while held", [](CPressState& s) { return s.Track(false); }, true, UISTATE_HOT | UISTATE_CAPTURED},
        {"release", [](CPressState& s) { return s.Release(); }, true, UISTATE_HOT},
        {"release again", [](CPressState& s) { return s.Release(); }, false, UISTATE_HOT},
        {"pushed without the mouse", [](CPressState& s) { return s.SetPushed(true); }, true, UISTATE_HOT | UISTATE_PUSHED},
        {"tracking does not touch it", [](CPressState& s) { return s.Track(false); }, false, UISTATE_HOT | UISTATE_PUSHED},
        {"reset", [](CPressState& s) { return s.Reset(); }, true, 0},
    };
    CPressState state;
    for (const Step& step : steps) {
        EXPECT_EQ(step.apply(state), step.changed) << step.what;
        EXPECT_EQ(state.Bits(), step.bits) << step.what;
    }
}
