// The list control in a real window: text callback, rows and selection, mouse, keyboard, scrolling with many rows.
#include <gtest/gtest.h>

#include <chrono>

#include "list_fixture.h"

using namespace DuiLib;

namespace {

// Like the playlist: hidden header with one 200-wide column, white text, both bars.
const char kListXml[] = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="240,300">
  <Font name="微软雅黑" size="12" bold="false" default="true" />
  <Default name="VScrollBar" value="width=&quot;12&quot;" />
  <VerticalLayout bkcolor="0xff203040">
    <List name="list" header="hidden" itemalign="center" itemtextcolor="0xffffffff" itembkcolor="0x00000000"
          itemselectedbkcolor="#FFC3C7D5" itemhotbkcolor="#FF506070" itemalign="left" itemtextpadding="4,0,0,0"
          vscrollbar="true" hscrollbar="true">
      <ListHeader height="28">
        <ListHeaderItem width="200" />
      </ListHeader>
    </List>
  </VerticalLayout>
</Window>
)";

// Cuts column 0 out of the row's user data, as the player's callback does, and records every call.
class RecordingCallback : public IListCallbackUI {
public:
    struct Call { CControlUI* row; int item, sub; };
    LPCTSTR GetItemText(CControlUI* pList, int iItem, int iSubItem) override {
        calls.push_back({pList, iItem, iSubItem});
        m_text = pList->GetUserData().GetData();
        const size_t marker = m_text.find(L"{#0}");
        m_text = marker == std::wstring::npos ? std::wstring() : m_text.substr(0, marker);
        return m_text.c_str();
    }
    void SetItemText(CControlUI*, int, int, LPCTSTR) override {}
    std::vector<Call> calls;

private:
    std::wstring m_text;
};

// Counts the layout work done on rows.
class CountingRow : public CListTextElementUI {
public:
    SIZE EstimateSize(SIZE szAvailable) override {
        ++estimates;
        return CListTextElementUI::EstimateSize(szAvailable);
    }
    static inline long estimates = 0;
};

class ListTest : public listtest::SharedHostTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(testsupport::UseMemorySkin({{"list.xml", kListXml}}));
        ASSERT_NE(OpenHost(L"list.xml", 240, 300), nullptr);
        list = Find<CListUI>(L"list");
        ASSERT_NE(list, nullptr);
        testsupport::PumpIdle();
    }
    // Rows as the playlist makes them: name = path, tag 1, user data = column 0's text + "{#0}".
    template <class Row = CListTextElementUI>
    void AddRows(int count, const std::function<std::wstring(int)>& text = nullptr) {
        for (int i = 0; i < count; ++i) {
            auto* row = new Row;
            row->SetUserData(((text ? text(i) : L"row" + std::to_wstring(i)) + L"{#0}").c_str());
            row->SetTag(1);
            row->SetName((L"C:\\v\\" + std::to_wstring(i) + L".mp4").c_str());
            ASSERT_TRUE(list->Add(row));
        }
    }
    RECT RowRect(int i) { return list->GetItemAt(i)->GetPos(); }
    void Layout() {
        host->Manager().UpdateLayout();
        testsupport::PumpIdle();
    }

    CListUI* list = nullptr;
    RecordingCallback callback;
};

TEST_F(ListTest, PaintedTextsComeFromTheCallbackForVisibleRowsOnly) {
    list->SetTextCallback(&callback);
    // Even rows have a text, odd rows an empty column 0.
    AddRows(40, [](int i) { return std::wstring(i % 2 == 0 ? L"WWWWWWWW" : L""); });
    Layout();
    callback.calls.clear();
    const listtest::Shot shot = listtest::Capture(hwnd);

    ASSERT_FALSE(callback.calls.empty());
    int highest = -1;
    for (const auto& call : callback.calls) {
        EXPECT_EQ(call.row, list->GetItemAt(call.item)) << "the row itself is handed over";
        EXPECT_EQ(call.sub, 0);
        highest = std::max(highest, call.item);
    }
    const int visibleRows = (300 + 21) / 22;
    EXPECT_GE(highest, visibleRows - 2);
    EXPECT_LE(highest, visibleRows) << "rows out of sight are not painted";

    EXPECT_GT(shot.CountBright(RowRect(0)), 20) << "row 0 shows its text";
    EXPECT_EQ(shot.CountBright(RowRect(1)), 0) << "row 1's column is empty";

    // Without a callback the rows paint their own column texts.
    list->SetTextCallback(nullptr);
    const size_t callsBefore = callback.calls.size();
    static_cast<CListTextElementUI*>(list->GetItemAt(1))->SetText(0, L"WWWWWWWW");
    const listtest::Shot own = listtest::Capture(hwnd);
    EXPECT_EQ(own.CountBright(RowRect(0)), 0);
    EXPECT_GT(own.CountBright(RowRect(1)), 20);
    EXPECT_EQ(callback.calls.size(), callsBefore);
}

TEST_F(ListTest, RemovingRowsKeepsTheSelectionOnItsRow) {
    AddRows(10);
    EXPECT_EQ(list->GetCount(), 10);
    EXPECT_EQ(list->GetItemAt(-1), nullptr);
    EXPECT_EQ(list->GetItemAt(10), nullptr);
    EXPECT_EQ(list->GetCurSel(), -1);
    EXPECT_EQ(list->GetItemAt(9)->GetName(), L"C:\\v\\9.mp4");

    ASSERT_TRUE(list->SelectItem(5));
    CControlUI* selected = list->GetItemAt(5);
    ASSERT_TRUE(list->RemoveAt(2));            // before the selection
    EXPECT_EQ(list->GetCurSel(), 4);
    EXPECT_EQ(list->GetItemAt(4), selected);
    ASSERT_TRUE(list->AddAt(new CListTextElementUI, 0));
    EXPECT_EQ(list->GetCurSel(), 5);
    EXPECT_EQ(list->GetItemAt(5), selected);
    ASSERT_TRUE(list->RemoveAt(7));            // after it
    EXPECT_EQ(list->GetCurSel(), 5);
    for (int i = 0; i < list->GetCount(); ++i) {
        auto* item = static_cast<IListItemUI*>(list->GetItemAt(i)->GetInterface(L"ListItem"));
        EXPECT_EQ(item->GetIndex(), i) << "rows know their index after the shifts";
        EXPECT_EQ(item->IsSelected(), i == 5);
    }

    ASSERT_TRUE(list->Remove(selected));       // the selected row itself
    EXPECT_EQ(list->GetCurSel(), -1);
    EXPECT_FALSE(list->RemoveAt(-1)) << "what DeleteSelected does without a selection";
    EXPECT_FALSE(list->RemoveAt(list->GetCount()));
    EXPECT_EQ(list->GetCount(), 8);

    ASSERT_TRUE(list->SelectItem(0));
    list->RemoveAll();
    EXPECT_EQ(list->GetCount(), 0);
    EXPECT_EQ(list->GetCurSel(), -1);
    EXPECT_EQ(list->GetItemAt(0), nullptr);
    EXPECT_EQ(host->Of(DUI_MSGTYPE_ITEMSELECT).size(), 2u) << "removals raise nothing";
    Layout();   // the destroyed rows leave nothing behind to paint
    listtest::Capture(hwnd);
}

TEST_F(ListTest, SelectItemFromCodeRaisesOneItemSelectBeforeReturning) {
    AddRows(5);
    int selectionSeen = -2;
    host->onNotify = [&](TNotifyUI& msg) {
        if (msg.sType == DUI_MSGTYPE_ITEMSELECT) selectionSeen = list->GetCurSel();
    };
    host->notes.clear();

    ASSERT_TRUE(list->SelectItem(3));
    auto selects = host->Of(DUI_MSGTYPE_ITEMSELECT);
    ASSERT_EQ(selects.size(), 1u);
    EXPECT_EQ(selects[0].sender, list);
    EXPECT_EQ(static_cast<int>(selects[0].wParam), 3);
    EXPECT_EQ(static_cast<int>(selects[0].lParam), -1);
    EXPECT_EQ(selectionSeen, 3) << "the new selection is in place when the notification runs";

    EXPECT_TRUE(list->SelectItem(3));
    EXPECT_FALSE(list->SelectItem(7));
    EXPECT_EQ(list->GetCurSel(), 3);
    EXPECT_EQ(host->Of(DUI_MSGTYPE_ITEMSELECT).size(), 1u) << "no change, no notification";

    ASSERT_TRUE(list->SelectItem(-1));
    selects = host->Of(DUI_MSGTYPE_ITEMSELECT);
    ASSERT_EQ(selects.size(), 2u);
    EXPECT_EQ(static_cast<int>(selects[1].wParam), -1);
    EXPECT_EQ(static_cast<int>(selects[1].lParam), 3);
}

TEST_F(ListTest, ClickSelectsAndDoubleClickFollowsTheSelection) {
    AddRows(5);
    Layout();
    int selectedAtDoubleClick = -2;
    host->onNotify = [&](TNotifyUI& msg) {
        if (msg.sType == DUI_MSGTYPE_ITEMDBCLICK) selectedAtDoubleClick = list->GetCurSel();
    };
    host->notes.clear();

    listtest::Click(hwnd, listtest::Center(RowRect(2)));
    EXPECT_EQ(list->GetCurSel(), 2);
    ASSERT_EQ(host->Of(DUI_MSGTYPE_ITEMSELECT).size(), 1u);
    const auto clicks = host->Of(DUI_MSGTYPE_ITEMCLICK);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].sender, list->GetItemAt(2));
    size_t selectAt = 0, clickAt = 0;
    for (size_t i = 0; i < host->notes.size(); ++i) {
        if (host->notes[i].type == DUI_MSGTYPE_ITEMSELECT) selectAt = i;
        if (host->notes[i].type == DUI_MSGTYPE_ITEMCLICK) clickAt = i;
    }
    EXPECT_LT(selectAt, clickAt) << "selected before the click is reported";

    listtest::Click(hwnd, listtest::Center(RowRect(3)), true);
    const auto doubles = host->Of(DUI_MSGTYPE_ITEMDBCLICK);
    ASSERT_EQ(doubles.size(), 1u);
    EXPECT_EQ(doubles[0].sender, list->GetItemAt(3));
    EXPECT_EQ(selectedAtDoubleClick, 3) << "a double-click plays the row it selected";
    EXPECT_EQ(host->Of(DUI_MSGTYPE_ITEMSELECT).size(), 2u);
}

TEST_F(ListTest, KeysMoveTheSelectionAndKeepItInView) {
    AddRows(100);
    Layout();
    listtest::Click(hwnd, listtest::Center(RowRect(0)));   // gives the list the keyboard
    ASSERT_EQ(list->GetCurSel(), 0);
    host->notes.clear();

    listtest::Key(hwnd, VK_UP);
    EXPECT_EQ(list->GetCurSel(), 0) << "nothing above the first row";
    listtest::Key(hwnd, VK_DOWN);
    EXPECT_EQ(list->GetCurSel(), 1);
    listtest::Key(hwnd, VK_NEXT);
    const int page = list->GetCurSel() - 1;
    EXPECT_GE(page, 10);
    EXPECT_LE(page, 14);
    listtest::Key(hwnd, VK_END);
    EXPECT_EQ(list->GetCurSel(), 99);
    Layout();
    const RECT body = list->GetList()->GetPos();
    EXPECT_GE(RowRect(99).top, body.top);
    EXPECT_LE(RowRect(99).bottom, body.bottom) << "the last row was scrolled into view";
    listtest::Key(hwnd, VK_PRIOR);
    EXPECT_EQ(list->GetCurSel(), 99 - page);
    listtest::Key(hwnd, VK_HOME);
    EXPECT_EQ(list->GetCurSel(), 0);
    Layout();
    EXPECT_EQ(list->GetScrollPos().cy, 0);
    EXPECT_EQ(host->Of(DUI_MSGTYPE_ITEMSELECT).size(), 5u) << "one per change, none for the blocked Up";
}

TEST_F(ListTest, AThousandRowsScrollWithLinearLayoutWork) {
    list->SetTextCallback(&callback);
    CountingRow::estimates = 0;
    const auto t0 = std::chrono::steady_clock::now();
    AddRows<CountingRow>(1000, [](int i) { return L"file" + std::to_wstring(i) + L".mp4"; });
    const auto t1 = std::chrono::steady_clock::now();
    host->Manager().UpdateLayout();
    const auto ms = [](auto d) { return int(std::chrono::duration_cast<std::chrono::milliseconds>(d).count()); };
    RecordProperty("adding_ms", ms(t1 - t0));
    RecordProperty("layout_ms", ms(std::chrono::steady_clock::now() - t1));
    Layout();
    EXPECT_LT(CountingRow::estimates, 10 * 1000) << "adding rows one by one must not lay out each time";

    CScrollBarUI* bar = list->GetVerticalScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->IsVisible());
    const int view = list->GetList()->GetPos().bottom - list->GetList()->GetPos().top;
    EXPECT_EQ(list->GetScrollRange().cy, 1000 * kListDefaultRowHeight - view);
    ASSERT_NE(list->GetHorizontalScrollBar(), nullptr);
    EXPECT_FALSE(list->GetHorizontalScrollBar()->IsVisible()) << "a hidden header does not scroll sideways";

    POINT screen = listtest::Center(list->GetPos());
    ::ClientToScreen(hwnd, &screen);
    ::SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(screen.x, screen.y));
    EXPECT_EQ(list->GetScrollPos().cy, 3 * kListDefaultRowHeight) << "three rows per notch";

    ASSERT_TRUE(list->SelectItem(999));
    Layout();
    EXPECT_EQ(list->GetScrollPos().cy, list->GetScrollRange().cy);
    callback.calls.clear();
    listtest::Capture(hwnd);
    ASSERT_FALSE(callback.calls.empty());
    EXPECT_LE(callback.calls.size(), 16u) << "only the rows in sight are painted";
    EXPECT_EQ(callback.calls.back().item, 999);

    list->RemoveAll();
    Layout();
    EXPECT_FALSE(bar->IsVisible());
    listtest::Capture(hwnd);
}

TEST_F(ListTest, AShownHeaderSetsColumnsAndScrollsWithTheRows) {
    list->SetTextCallback(&callback);
    list->SetHeaderVisible(true);
    list->GetHeader()->RemoveAll();
    for (const wchar_t* title : {L"名称", L"路径"}) {
        auto* column = new CListHeaderItemUI;
        column->SetText(title);
        column->SetFixedWidth(150);
        list->Add(column);
    }
    EXPECT_EQ(list->GetCount(), 0) << "header items are not rows";
    AddRows(30);
    Layout();

    const RECT header = list->GetHeader()->GetPos();
    EXPECT_EQ(header.bottom - header.top, 28);
    EXPECT_EQ(list->GetList()->GetPos().top, header.bottom);
    CScrollBarUI* hbar = list->GetHorizontalScrollBar();
    ASSERT_TRUE(hbar && hbar->IsVisible()) << "300 pixels of columns in a narrower view";
    const RECT view = list->GetList()->GetPos();
    const int viewWidth = view.right - view.left - list->GetVerticalScrollBar()->GetFixedWidth();
    EXPECT_EQ(list->GetScrollRange().cx, 300 - viewWidth);
    EXPECT_EQ(RowRect(0).right - RowRect(0).left, 300);

    callback.calls.clear();
    listtest::Capture(hwnd);
    bool second = false;
    for (const auto& call : callback.calls) second = second || call.sub == 1;
    EXPECT_TRUE(second) << "both columns are asked for";

    const int left = list->GetHeader()->GetItemAt(1)->GetPos().left;
    list->SetScrollPos({40, 0});
    EXPECT_EQ(list->GetHeader()->GetItemAt(1)->GetPos().left, left - 40) << "the header follows the rows";
    EXPECT_EQ(RowRect(0).left, view.left - 40);
}

} // namespace
