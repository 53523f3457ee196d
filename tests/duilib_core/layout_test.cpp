// Layout arithmetic of the three container kinds, without a window.
#include <gtest/gtest.h>

#include "core_fixture.h"
#include "duilib/UIFlexShare.h"
#include "duilib/UIRect.h"

using namespace DuiLib;
using coretest::Fixed;

namespace {

::testing::AssertionResult RectIs(const RECT& rc, LONG l, LONG t, LONG r, LONG b) {
    if (rc.left == l && rc.top == t && rc.right == r && rc.bottom == b) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got {" << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom
                                         << "} want {" << l << "," << t << "," << r << "," << b << "}";
}

} // namespace

TEST(Layout, VerticalSharesTheRestAfterFixedPaddingInsetAndGaps) {
    CVerticalLayoutUI v;
    v.SetInset({1, 2, 3, 4});
    v.SetChildPadding(5);
    CControlUI* a = Fixed(0, 50, {2, 3, 4, 5});
    CControlUI* b = Fixed(0, 0);
    CControlUI* c = Fixed(0, 0);
    CControlUI* hidden = Fixed(0, 100);
    hidden->SetVisible(false);
    CControlUI* e = Fixed(60, 0);
    for (CControlUI* x : {a, b, c, hidden, e}) v.Add(x);

    // Inner 196x394; fixed 50 + paddings 8 + three gaps 15 = 73; 321 left, 107 each.
    v.SetPos({0, 0, 200, 400});
    EXPECT_TRUE(RectIs(a->GetPos(), 3, 5, 193, 55));
    EXPECT_TRUE(RectIs(b->GetPos(), 1, 65, 197, 172));
    EXPECT_TRUE(RectIs(c->GetPos(), 1, 177, 197, 284));
    EXPECT_TRUE(RectIs(e->GetPos(), 1, 289, 61, 396)) << "a fixed width sits at the start of the cross axis";

    // One pixel more: the rounding pixel goes to the first flexible child.
    v.SetPos({0, 0, 200, 401});
    EXPECT_EQ(b->GetHeight(), 108);
    EXPECT_EQ(c->GetHeight(), 107);
    EXPECT_EQ(e->GetPos().bottom, 397);

    // Showing the hidden child takes its 100 pixels (and a gap) from the shares.
    hidden->SetVisible(true);
    v.SetPos({0, 0, 200, 400});
    EXPECT_EQ(b->GetHeight(), 72);
    EXPECT_EQ(hidden->GetHeight(), 100);
    EXPECT_EQ(e->GetPos().bottom, 396);
}

TEST(Layout, MinAndMaxBoundFlexibleSharesAndTheRestIsSharedAgain) {
    CVerticalLayoutUI v;
    CControlUI* a = Fixed(0, 0);
    CControlUI* b = Fixed(0, 0);
    CControlUI* c = Fixed(0, 0);
    a->SetMaxHeight(40);
    c->SetMinHeight(200);
    for (CControlUI* x : {a, b, c}) v.Add(x);
    v.SetPos({0, 0, 100, 300});
    EXPECT_EQ(a->GetHeight(), 40);
    EXPECT_EQ(c->GetHeight(), 200);
    EXPECT_EQ(b->GetHeight(), 60);
    EXPECT_EQ(c->GetPos().bottom, 300);

    // A fixed size is clamped by its own bounds as well.
    CControlUI* d = Fixed(0, 500);
    d->SetMaxHeight(30);
    v.Add(d);
    v.SetPos({0, 0, 100, 300});
    EXPECT_EQ(d->GetHeight(), 30);
    // Cross axis: max width narrows a child that would fill.
    b->SetMaxWidth(70);
    v.SetPos({0, 0, 100, 300});
    EXPECT_EQ(b->GetWidth(), 70);
    EXPECT_EQ(a->GetWidth(), 100);
}

TEST(Layout, HorizontalMirrorsVertical) {
    CHorizontalLayoutUI h;
    h.SetInset({10, 1, 10, 1});
    h.SetChildPadding(2);
    CControlUI* a = Fixed(100, 0);
    CControlUI* b = Fixed(0, 0, {0, 5, 0, 5});
    CControlUI* c = Fixed(0, 18, {0, 10, 0, 10});
    CControlUI* d = Fixed(50, 0);
    for (CControlUI* x : {a, b, c, d}) h.Add(x);
    // Inner 380x48 from x=10; fixed 150 + gaps 6 = 156; 224 shared: 112 each.
    h.SetPos({0, 0, 400, 50});
    EXPECT_TRUE(RectIs(a->GetPos(), 10, 1, 110, 49));
    EXPECT_TRUE(RectIs(b->GetPos(), 112, 6, 224, 44));
    EXPECT_TRUE(RectIs(c->GetPos(), 226, 11, 338, 29)) << "fixed height aligned at the top plus padding";
    EXPECT_TRUE(RectIs(d->GetPos(), 340, 1, 390, 49));

    // Too little room: flexible children shrink to nothing, fixed ones keep their size.
    h.SetPos({0, 0, 100, 50});
    EXPECT_EQ(b->GetWidth(), 0);
    EXPECT_EQ(a->GetWidth(), 100);
}

TEST(Layout, HugeSizesAndPaddingsSaturateInsteadOfWrapping) {
    // Children stay in order along the axis, none inverted, whatever a layout file says.
    constexpr int kHuge = 2147483647;
    struct Case { const char* what; int childPadding; std::vector<std::pair<int, RECT>> children; };
    const Case cases[] = {
        {"huge padding", 0, {{10, {kHuge, 0, 0, 0}}, {10, {}}}},
        {"huge widths", 0, {{2000000000, {}}, {2000000000, {}}, {2000000000, {}}, {0, {}}}},
        {"huge gaps", 2000000000, {{10, {}}, {10, {}}, {10, {}}}},
    };
    for (const Case& c : cases) {
        for (bool vertical : {false, true}) {
            CHorizontalLayoutUI h;
            CVerticalLayoutUI v;
            CContainerUI& box = vertical ? static_cast<CContainerUI&>(v) : h;
            box.SetChildPadding(c.childPadding);
            std::vector<CControlUI*> kids;
            for (const auto& [size, pad] : c.children) {
                kids.push_back(vertical ? Fixed(0, size, pad) : Fixed(size, 0, pad));
                kids.back()->SetMaxWidth(kHuge);
                kids.back()->SetMaxHeight(kHuge);
                box.Add(kids.back());
            }
            box.SetPos({0, 0, 200, 100});
            LONG previousEnd = 0;
            for (CControlUI* k : kids) {
                const RECT rc = k->GetPos();
                const LONG begin = vertical ? rc.top : rc.left, end = vertical ? rc.bottom : rc.right;
                EXPECT_GE(begin, previousEnd) << c.what << (vertical ? " vertical" : " horizontal");
                EXPECT_GE(end, begin) << c.what;
                previousEnd = end;
            }
        }
    }
}

TEST(Layout, PlainContainerOverlaysAndTabShowsOnePage) {
    CContainerUI box;
    box.SetInset({5, 5, 5, 5});
    CControlUI* fill = Fixed(0, 0, {1, 2, 3, 4});
    CControlUI* corner = Fixed(20, 10);
    for (CControlUI* x : {fill, corner}) box.Add(x);
    box.SetPos({0, 0, 100, 100});
    EXPECT_TRUE(RectIs(fill->GetPos(), 6, 7, 92, 91));
    EXPECT_TRUE(RectIs(corner->GetPos(), 5, 5, 25, 15));

    CTabLayoutUI tab;
    CControlUI* p0 = Fixed(0, 0);
    CControlUI* p1 = Fixed(0, 0);
    CControlUI* p2 = Fixed(0, 0);
    for (CControlUI* p : {p0, p1, p2}) tab.Add(p);
    EXPECT_EQ(tab.GetCurSel(), 0);
    EXPECT_TRUE(p0->IsVisible());
    EXPECT_FALSE(p1->IsVisible());
    EXPECT_TRUE(tab.SelectItem(2));
    EXPECT_EQ(tab.GetCurSel(), 2);
    EXPECT_FALSE(p0->IsVisible());
    EXPECT_TRUE(p2->IsVisible());
    EXPECT_FALSE(tab.SelectItem(3));
    EXPECT_FALSE(tab.SelectItem(-1));
    EXPECT_EQ(tab.GetCurSel(), 2);
    tab.SetPos({0, 0, 80, 60});
    EXPECT_TRUE(RectIs(p2->GetPos(), 0, 0, 80, 60));
    // Removing the shown page shows a neighbour; the index follows the pages.
    EXPECT_TRUE(tab.RemoveAt(2));
    EXPECT_EQ(tab.GetCurSel(), 1);
    EXPECT_TRUE(p1->IsVisible());
    EXPECT_TRUE(tab.RemoveAt(0));
    EXPECT_EQ(tab.GetCurSel(), 0);
    EXPECT_EQ(tab.GetItemAt(0), p1);
}

TEST(Layout, ContainerInterfaceKeepsOrderAndAnswersNullOutOfRange) {
    CVerticalLayoutUI v;
    CControlUI* a = Fixed(0, 10);
    CControlUI* b = Fixed(0, 10);
    CControlUI* c = Fixed(0, 10);
    auto* list = static_cast<IContainerUI*>(v.GetInterface(L"IContainer"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(static_cast<CContainerUI*>(v.GetInterface(L"Container")), &v);
    EXPECT_TRUE(list->Add(a));
    EXPECT_TRUE(list->Add(c));
    EXPECT_TRUE(list->AddAt(b, 1));
    EXPECT_FALSE(list->Add(a)) << "a child is added once";
    EXPECT_FALSE(list->Add(nullptr));
    EXPECT_EQ(list->GetCount(), 3);
    EXPECT_EQ(list->GetItemAt(1), b);
    EXPECT_EQ(list->GetItemAt(3), nullptr);
    EXPECT_EQ(list->GetItemAt(-1), nullptr);
    EXPECT_EQ(list->GetItemIndex(c), 2);
    EXPECT_TRUE(list->RemoveAt(0));
    EXPECT_FALSE(list->RemoveAt(5));
    EXPECT_EQ(list->GetItemAt(0), b);
    list->RemoveAll();
    EXPECT_EQ(list->GetCount(), 0);
    EXPECT_EQ(v.GetInterface(L"List"), nullptr);
}

TEST(Layout, OverflowShowsAScrollBarThatMovesTheChildren) {
    CVerticalLayoutUI v;
    v.EnableScrollBar(true, false);
    CScrollBarUI* bar = v.GetVerticalScrollBar();
    ASSERT_NE(bar, nullptr);
    std::vector<CControlUI*> rows;
    for (int i = 0; i < 10; ++i) {
        rows.push_back(Fixed(0, 50));
        v.Add(rows.back());
    }
    v.SetPos({0, 0, 200, 200});
    EXPECT_TRUE(bar->IsVisible());
    EXPECT_EQ(v.GetScrollRange().cy, 300);
    EXPECT_EQ(rows[0]->GetWidth(), 200 - bar->GetFixedWidth()) << "the bar takes its width from the rows";
    EXPECT_TRUE(RectIs(bar->GetPos(), 184, 0, 200, 200));

    v.SetScrollPos({0, 120});
    EXPECT_EQ(v.GetScrollPos().cy, 120);
    EXPECT_EQ(rows[0]->GetPos().top, -120);
    EXPECT_EQ(rows[3]->GetPos().top, 30);
    v.SetScrollPos({0, 9999});
    EXPECT_EQ(v.GetScrollPos().cy, 300) << "clamped to the range";
    EXPECT_EQ(rows[9]->GetPos().bottom, 200);

    TEventUI wheel;
    wheel.Type = UIEvent::ScrollWheel;
    wheel.wParam = SB_LINEUP;
    rows[5]->DoEvent(wheel);   // unclaimed by the row, so the layout scrolls
    EXPECT_LT(v.GetScrollPos().cy, 300);

    // Content that fits again hides the bar and resets the position.
    for (int i = 0; i < 7; ++i) v.RemoveAt(0);
    v.SetPos({0, 0, 200, 200});
    EXPECT_FALSE(bar->IsVisible());
    EXPECT_EQ(v.GetScrollPos().cy, 0);
    EXPECT_EQ(v.GetItemAt(0)->GetPos().top, 0);
    EXPECT_EQ(v.GetItemAt(0)->GetWidth(), 200);
}

TEST(Layout, ScrollBarThumbFollowsRangeAndPosition) {
    CScrollBarUI bar;
    bar.SetScrollRange(300);
    bar.SetPageSize(100);
    bar.SetPos({0, 0, 16, 232});
    // Track 200 between two 16-pixel buttons; thumb 200*100/400 = 50.
    EXPECT_TRUE(RectIs(bar.GetButton1Rect(), 0, 0, 16, 16));
    EXPECT_TRUE(RectIs(bar.GetThumbRect(), 0, 16, 16, 66));
    bar.SetScrollPos(300);
    EXPECT_TRUE(RectIs(bar.GetThumbRect(), 0, 166, 16, 216));
    bar.SetScrollPos(-5);
    EXPECT_EQ(bar.GetScrollPos(), 0);
    bar.SetScrollRange(100);
    bar.SetScrollPos(150);
    EXPECT_EQ(bar.GetScrollPos(), 100);
}

TEST(Layout, FlexibleSpaceIsSharedEquallyWithinEachChildsBounds) {
    constexpr int kAny = kMaxCoord;
    struct Row { const char* what; std::vector<FlexBounds> bounds; int64_t space; std::vector<int> want; };
    const Row rows[] = {
        {"nothing to share", {}, 100, {}},
        {"rounding pixels go to the front", {{0, kAny}, {0, kAny}, {0, kAny}}, 11, {4, 4, 3}},
        {"a minimum is kept, the rest shared again", {{30, kAny}, {0, kAny}, {0, kAny}}, 60, {30, 15, 15}},
        {"a maximum is kept, the rest shared again", {{0, 10}, {0, kAny}}, 60, {10, 50}},
        {"minimums first when they cost more than maximums free", {{60, kAny}, {0, 20}, {0, kAny}}, 90, {60, 15, 15}},
        {"no space left: minimums only", {{5, kAny}, {0, kAny}}, -20, {5, 0}},
        {"a minimum above its maximum wins", {{20, 10}}, 0, {20}},
        {"huge minimums saturate", {{kMaxCoord, kAny}, {kMaxCoord, kAny}}, 0, {kMaxCoord, kMaxCoord}},
        {"huge space saturates", {{0, kAny}}, int64_t{1} << 40, {kMaxCoord}},
    };
    for (const Row& row : rows) EXPECT_EQ(ShareFlexibleSpace(row.bounds, row.space), row.want) << row.what;
}
