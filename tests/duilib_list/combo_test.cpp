// Combo boxes (and a label list) built from a layout like the settings window's: the
// drop-down window, choosing, closing unchanged, keys, selection from code.
#include <gtest/gtest.h>

#include "list_fixture.h"

using namespace DuiLib;

namespace {

const char kComboXml[] = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="300,260">
  <Font name="微软雅黑" size="12" bold="false" default="true" />
  <Default name="VScrollBar" value="width=&quot;10&quot;" />
  <Default name="ListLabelElement" value="height=&quot;23&quot;" />
  <Default name="Combo" value="droptype=&quot;droplist&quot; dropboxsize=&quot;0,120&quot; textpadding=&quot;5,1,25,1&quot; itembkcolor=&quot;#FFE7E9EE&quot; itemselectedbkcolor=&quot;#FFC3C7D5&quot; itemhotbkcolor=&quot;#FFC3C7D5&quot; itemtextcolor=&quot;0xff222222&quot; vscrollbar=&quot;true&quot;" />
  <VerticalLayout bkcolor="0xffB2BFD6" inset="20,20,20,20">
    <List name="list_type" header="hidden" height="64" itemalign="center" itemaltbk="true" itembkcolor="#FFF4F5F8"
          itemselectedbkcolor="#FFC3C7D5" itemhotbkcolor="#FFC3C7D5" itemtextcolor="0xff222222" itemshowhtml="true" vscrollbar="true">
      <ListLabelElement text="特效" height="30" selected="true" />
      <ListLabelElement text="信息" height="30" />
    </List>
    <Control height="10" />
    <HorizontalLayout height="27">
      <Combo name="comb_shape">
        <ListLabelElement text="无" height="23" textpadding="5,0,0,0" selected="true" />
        <ListLabelElement text="椭圆" height="23" textpadding="5,0,0,0" />
        <ListLabelElement text="水滴" height="23" textpadding="5,0,0,0" />
      </Combo>
      <Control width="100" />
    </HorizontalLayout>
    <Control height="10" />
    <HorizontalLayout height="27">
      <Combo name="comb_effect">
        <ListLabelElement text="无" selected="true" /><ListLabelElement text="经典" /><ListLabelElement text="紫色迷情" />
        <ListLabelElement text="怀旧" /><ListLabelElement text="摇滚" /><ListLabelElement text="哥特风" />
        <ListLabelElement text="HDR" /><ListLabelElement text="80S" /><ListLabelElement text="复古" />
        <ListLabelElement text="巴黎" /><ListLabelElement text="黑白" /><ListLabelElement text="印象" />
      </Combo>
      <Control width="100" />
    </HorizontalLayout>
    <Control />
  </VerticalLayout>
</Window>
)";

class ComboTest : public listtest::SharedHostTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(testsupport::UseMemorySkin({{"combo.xml", kComboXml}}));
        ASSERT_NE(OpenHost(L"combo.xml", 300, 260), nullptr);
        shape = Find<CComboUI>(L"comb_shape");
        effect = Find<CComboUI>(L"comb_effect");
        types = Find<CListUI>(L"list_type");
        ASSERT_NE(shape, nullptr);
        ASSERT_NE(effect, nullptr);
        ASSERT_NE(types, nullptr);
        testsupport::PumpIdle();
    }

    CComboUI* shape = nullptr;
    CComboUI* effect = nullptr;
    CListUI* types = nullptr;
};

TEST_F(ComboTest, SelectItemFromCodeRaisesItemSelectAndIgnoresStrayIndexes) {
    int faceAtNotify = -1;
    host->onNotify = [&](TNotifyUI& msg) {
        if (msg.sType == DUI_MSGTYPE_ITEMSELECT && msg.pSender == shape) faceAtNotify = shape->GetCurSel();
    };
    ASSERT_TRUE(shape->SelectItem(1));
    auto selects = host->Of(DUI_MSGTYPE_ITEMSELECT);
    ASSERT_EQ(selects.size(), 1u);
    EXPECT_EQ(selects[0].sender, shape);
    EXPECT_EQ(static_cast<int>(selects[0].wParam), 1);
    EXPECT_EQ(static_cast<int>(selects[0].lParam), 0);
    EXPECT_EQ(faceAtNotify, 1);
    EXPECT_EQ(shape->GetText(), L"椭圆");

    EXPECT_TRUE(shape->SelectItem(1));
    EXPECT_FALSE(shape->SelectItem(7)) << "a hand-edited shape of 7";
    EXPECT_FALSE(shape->SelectItem(-1));
    EXPECT_EQ(shape->GetCurSel(), 1);
    EXPECT_EQ(host->Of(DUI_MSGTYPE_ITEMSELECT).size(), 1u);
    EXPECT_FALSE(shape->IsDropped()) << "selection from code opens nothing";
}

TEST_F(ComboTest, ClickOpensADropDownWhereAClickChooses) {
    const HWND drop = DropDown(shape);
    ASSERT_NE(drop, nullptr);
    EXPECT_TRUE(::IsWindowVisible(drop));
    EXPECT_EQ(::GetCapture(), drop) << "clicks anywhere come to the list";
    EXPECT_NE(::GetFocus(), drop) << "the keyboard stays with the combo";
    EXPECT_EQ(host->Manager().GetFocus(), shape);
    EXPECT_EQ(host->Of(DUI_MSGTYPE_DROPDOWN).size(), 1u);
    RECT dropRect{};
    ::GetWindowRect(drop, &dropRect);
    POINT under{shape->GetPos().left, shape->GetPos().bottom};
    ::ClientToScreen(hwnd, &under);
    EXPECT_EQ(dropRect.left, under.x);
    EXPECT_EQ(dropRect.top, under.y) << "opens right under the combo";
    EXPECT_EQ(dropRect.right - dropRect.left, shape->GetWidth());
    EXPECT_EQ(dropRect.bottom - dropRect.top, 3 * 23 + 2) << "three items and the frame";

    CControlUI* item = shape->GetItemAt(2);
    ASSERT_NE(item->GetManager(), &host->Manager()) << "the items live in the drop-down meanwhile";
    listtest::Click(drop, listtest::Center(item->GetPos()));
    const auto selects = host->Of(DUI_MSGTYPE_ITEMSELECT);
    ASSERT_EQ(selects.size(), 1u);
    EXPECT_EQ(selects[0].sender, shape);
    EXPECT_EQ(static_cast<int>(selects[0].wParam), 2);
    testsupport::PumpIdle();
    EXPECT_FALSE(shape->IsDropped());
    EXPECT_FALSE(::IsWindow(drop));
    EXPECT_EQ(shape->GetCurSel(), 2);
    EXPECT_EQ(shape->GetText(), L"水滴");
    EXPECT_EQ(item->GetManager(), &host->Manager()) << "and come home afterwards";
    EXPECT_EQ(item->GetParent(), shape);
}

TEST_F(ComboTest, EscapeOrAClickElsewhereClosesWithoutChange) {
    const struct { const char* what; std::function<void(HWND drop)> close; } ways[] = {
        {"escape after moving the highlight", [&](HWND) {
             listtest::Key(hwnd, VK_DOWN);
             listtest::Key(hwnd, VK_ESCAPE);
         }},
        {"a click on an empty part of the window", [&](HWND drop) { listtest::ClickCaptured(drop, hwnd, {150, 240}); }},
        {"a second click on the combo closes instead of reopening",
         [&](HWND drop) { listtest::ClickCaptured(drop, hwnd, listtest::Center(shape->GetPos())); }},
        {"the keyboard moved on", [&](HWND) { host->Manager().SetFocus(types); }},
        {"another window took the mouse", [&](HWND) {
             ::SetCapture(hwnd);
             ::ReleaseCapture();
         }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.what);
        const HWND drop = DropDown(shape);
        ASSERT_NE(drop, nullptr);
        way.close(drop);
        testsupport::PumpIdle();
        EXPECT_FALSE(::IsWindow(drop));
        EXPECT_FALSE(shape->IsDropped());
    }
    EXPECT_EQ(shape->GetCurSel(), 0);
    EXPECT_TRUE(host->Of(DUI_MSGTYPE_ITEMSELECT).empty());
}

TEST_F(ComboTest, KeysChooseInTheDropDownAndStepTheClosedCombo) {
    HWND drop = DropDown(shape);
    ASSERT_NE(drop, nullptr);
    listtest::Key(hwnd, VK_DOWN);
    EXPECT_TRUE(host->Of(DUI_MSGTYPE_ITEMSELECT).empty());
    listtest::Key(hwnd, VK_RETURN);
    EXPECT_EQ(shape->GetCurSel(), 1);
    EXPECT_EQ(host->Of(DUI_MSGTYPE_ITEMSELECT).size(), 1u);
    testsupport::PumpIdle();
    EXPECT_FALSE(::IsWindow(drop));

    ASSERT_EQ(host->Manager().GetFocus(), shape);
    listtest::Key(hwnd, VK_DOWN);
    EXPECT_EQ(shape->GetCurSel(), 2);
    listtest::Key(hwnd, VK_DOWN);
    EXPECT_EQ(shape->GetCurSel(), 2);
    listtest::Key(hwnd, VK_UP);
    EXPECT_EQ(shape->GetCurSel(), 1);
    EXPECT_EQ(host->Of(DUI_MSGTYPE_ITEMSELECT).size(), 3u);
    EXPECT_FALSE(shape->IsDropped());
}

TEST_F(ComboTest, ALongListScrollsToTheSelectionInItsDropDown) {
    ASSERT_TRUE(effect->SelectItem(11));
    const HWND drop = DropDown(effect);
    ASSERT_NE(drop, nullptr);
    RECT client{};
    ::GetClientRect(drop, &client);
    EXPECT_EQ(client.bottom, 120) << "dropboxsize caps the height";
    const RECT item = effect->GetItemAt(11)->GetPos();
    EXPECT_GE(item.top, 0);
    EXPECT_LE(item.bottom, client.bottom) << "the selected item is in view";
    EXPECT_LE(item.right, client.right - 10) << "beside the scroll bar";

    // The wheel over the list, or over the combo (whichever window the system picks).
    POINT screen{20, 60};
    ::ClientToScreen(drop, &screen);
    ::SendMessageW(drop, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(screen.x, screen.y));
    testsupport::PumpIdle();
    const RECT moved = effect->GetItemAt(11)->GetPos();
    EXPECT_EQ(moved.top, item.top + 3 * 23);
    POINT face = listtest::Center(effect->GetPos());
    ::ClientToScreen(hwnd, &face);
    ::SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(face.x, face.y));
    testsupport::PumpIdle();
    EXPECT_EQ(effect->GetItemAt(11)->GetPos().top, moved.top + 3 * 23);
    const RECT fifth = effect->GetItemAt(5)->GetPos();   // where the selected one was
    EXPECT_EQ(fifth.top, item.top);
    listtest::Click(drop, listtest::Center(fifth));
    testsupport::PumpIdle();
    EXPECT_EQ(effect->GetCurSel(), 5);
    EXPECT_FALSE(::IsWindow(drop));
}

TEST_F(ComboTest, ClosingTheWindowWithAnOpenDropDown) {
    const HWND drop = DropDown(effect);
    ASSERT_NE(drop, nullptr);
    ::DestroyWindow(hwnd);
    testsupport::PumpIdle();
    EXPECT_FALSE(::IsWindow(drop));
    hwnd = nullptr;
}

} // namespace
