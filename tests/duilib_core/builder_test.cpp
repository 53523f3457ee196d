// Building trees from layouts: attributes, Default entries, fonts, Window attributes,
// lookups by name and point, and layouts that cannot be built.
#include <gtest/gtest.h>

#include "core_fixture.h"

using namespace DuiLib;
using namespace coretest;

namespace {

class Callback : public IDialogBuilderCallback {
public:
    std::vector<std::wstring> asked;
    std::vector<std::wstring> log;
    CControlUI* CreateControl(LPCTSTR pstrClass) override {
        asked.push_back(pstrClass);
        if (wcscmp(pstrClass, L"Probe") == 0) return new ProbeUI(&log);
        return nullptr;
    }
};

CControlUI* Build(CPaintManagerUI& manager, const std::string& xml, IDialogBuilderCallback* cb = nullptr,
                  CDialogBuilder* builder = nullptr) {
    CDialogBuilder own;
    CControlUI* root = (builder ? builder : &own)->CreateFromMemory(xml.data(), xml.size(), cb, &manager);
    if (root) manager.AttachDialog(root);
    return root;
}

} // namespace

TEST(Builder, AppliesWindowFontDefaultAndElementAttributes) {
    CPaintManagerUI manager;
    Callback cb;
    ASSERT_NE(Build(manager, kTestLayout, &cb), nullptr);

    EXPECT_EQ(manager.GetInitSize().cx, 400);
    EXPECT_EQ(manager.GetInitSize().cy, 300);
    EXPECT_EQ(manager.GetCaptionRect().bottom, 30);
    EXPECT_EQ(manager.GetSizeBox().left, 4);
    EXPECT_EQ(manager.GetSizeBox().bottom, 4);
    EXPECT_EQ(manager.GetMinInfo().cx, 300);
    EXPECT_EQ(manager.GetMaxInfo().cy, 600);
    EXPECT_EQ(manager.GetFontCount(), 2);
    EXPECT_EQ(manager.GetDefaultFont(), manager.GetFont(0));
    EXPECT_EQ(manager.GetFont(7), manager.GetFont(0)) << "an unknown index falls back to the default";
    EXPECT_NE(manager.GetFont(1), manager.GetFont(0));

    auto* title = static_cast<CLabelUI*>(manager.FindControl(L"title"));
    ASSERT_NE(title, nullptr);
    EXPECT_STREQ(title->GetClass(), L"LabelUI");
    EXPECT_EQ(title->GetText(), L"Title");
    EXPECT_EQ(title->GetFixedWidth(), 100);
    EXPECT_FALSE(title->IsMouseEnabled());
    EXPECT_EQ(title->GetTextColor(), 0xFFFFFFFFu);
    EXPECT_EQ(title->GetFont(), 1);

    // Default entries apply first; the element's own attributes win.
    auto* ok = static_cast<CButtonUI*>(manager.FindControl(L"btn_ok"));
    auto* close = static_cast<CButtonUI*>(manager.FindControl(L"btn_close"));
    ASSERT_TRUE(ok && close);
    EXPECT_EQ(ok->GetTextColor(), 0xFF112233u);
    EXPECT_EQ(ok->GetBkColor(), 0xFF8090A0u);
    EXPECT_EQ(close->GetBkColor(), 0xFFCC3333u);
    EXPECT_EQ(close->GetToolTip(), L"Close it");
    EXPECT_FALSE(static_cast<CControlUI*>(manager.FindControl(L"btn_off"))->IsEnabled());

    auto* slider = static_cast<CSliderUI*>(manager.FindControl(L"slider"));
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->GetMaxValue(), 1000);
    EXPECT_EQ(slider->GetValue(), 500);
    EXPECT_EQ(slider->GetThumbSize().cx, 20);
    EXPECT_EQ(slider->GetChangeStep(), 8);
    EXPECT_EQ(slider->GetPadding().top, 10);

    // The window's own class comes from its callback.
    EXPECT_STREQ(manager.FindControl(L"probe")->GetClass(), L"ProbeUI");
    EXPECT_EQ(cb.asked, std::vector<std::wstring>{L"Probe"}) << "known classes never reach the callback";
    EXPECT_EQ(manager.FindControl(L"nothing"), nullptr);
    EXPECT_EQ(manager.FindControl(L"root"), manager.GetRoot());
}

TEST(Builder, ValueAttributeSurvivesAnyAttributeOrder) {
    CPaintManagerUI manager;
    Build(manager, "<Window><VerticalLayout><Slider name=\"s\" value=\"750\" max=\"1000\"/>"
                   "<Progress name=\"p\" value=\"-5\" min=\"-10\" max=\"10\"/></VerticalLayout></Window>");
    EXPECT_EQ(static_cast<CProgressUI*>(manager.FindControl(L"s"))->GetValue(), 750);
    EXPECT_EQ(static_cast<CProgressUI*>(manager.FindControl(L"p"))->GetValue(), -5);
    auto* p = static_cast<CProgressUI*>(manager.FindControl(L"p"));
    p->SetValue(99);
    EXPECT_EQ(p->GetValue(), 10);
    p->SetMaxValue(4);
    EXPECT_EQ(p->GetValue(), 4) << "a lower maximum pulls the value down";
}

TEST(Builder, LabelAlignmentAndImageAttributes) {
    CPaintManagerUI manager;
    Build(manager,
          "<Window><VerticalLayout>"
          "<Label name=\"l\" align=\"center\" valign=\"bottom\" endellipsis=\"true\" textpadding=\"1,2,3,4\" "
          "disabledtextcolor=\"#FF010203\" showhtml=\"true\"/>"
          "<Text name=\"t\" align=\"right\" wordbreak=\"true\"/>"
          "<Button name=\"b\" normalimage=\"file='a.png' dest='1,1,25,22'\" hotimage=\"sys_hot.png\" bordersize=\"2\" "
          "bordercolor=\"0x80FF0000\" borderround=\"4,4\" tag=\"17\" userdata=\"true\" visible=\"false\"/>"
          "<Unknown name=\"u\"><Button name=\"inside\"/></Unknown>"
          "<Control name=\"after\" bogus=\"1\" width=\"abc\"/>"
          "</VerticalLayout></Window>");
    auto* l = static_cast<CLabelUI*>(manager.FindControl(L"l"));
    ASSERT_NE(l, nullptr);
    const UINT style = l->GetTextStyle();
    EXPECT_TRUE(style & DT_CENTER);
    EXPECT_TRUE(style & DT_BOTTOM);
    EXPECT_FALSE(style & DT_VCENTER);
    EXPECT_TRUE(style & DT_END_ELLIPSIS);
    EXPECT_EQ(l->GetTextPadding().bottom, 4);
    EXPECT_EQ(l->GetDisabledTextColor(), 0xFF010203u);
    EXPECT_TRUE(l->IsShowHtml());
    auto* t = static_cast<CLabelUI*>(manager.FindControl(L"t"));
    EXPECT_TRUE(t->GetTextStyle() & DT_RIGHT);
    EXPECT_TRUE(t->GetTextStyle() & DT_WORDBREAK);
    EXPECT_FALSE(t->GetTextStyle() & DT_SINGLELINE);

    auto* b = static_cast<CButtonUI*>(manager.FindControl(L"b"));
    ASSERT_NE(b, nullptr);
    EXPECT_STREQ(b->GetNormalImage(), L"file='a.png' dest='1,1,25,22'");
    EXPECT_EQ(b->GetBorderSize(), 2);
    EXPECT_EQ(b->GetBorderColor(), 0x80FF0000u);
    EXPECT_EQ(b->GetBorderRound().cx, 4);
    EXPECT_EQ(b->GetTag(), 17u);
    EXPECT_EQ(b->GetUserData(), L"true");
    EXPECT_FALSE(b->IsVisible());
    // An unknown class is skipped with everything inside it; its siblings still come.
    EXPECT_EQ(manager.FindControl(L"u"), nullptr);
    EXPECT_EQ(manager.FindControl(L"inside"), nullptr);
    ASSERT_NE(manager.FindControl(L"after"), nullptr);
    EXPECT_EQ(manager.FindControl(L"after")->GetFixedWidth(), 0) << "unknown and malformed attributes are ignored";
}

TEST(Builder, AttributeListParsingToleratesQuotesAndStopsOnGarbage) {
    CButtonUI b;
    b.ApplyAttributeList(L"  normalimage=\"file='x.png' source='0,0,16,16'\" text='say \"hi\"'   width=\"12\" ");
    EXPECT_STREQ(b.GetNormalImage(), L"file='x.png' source='0,0,16,16'");
    EXPECT_EQ(b.GetText(), L"say \"hi\"");
    EXPECT_EQ(b.GetFixedWidth(), 12);
    CControlUI c;
    c.ApplyAttributeList(L"width=\"5\" height=7 name=\"n\"");
    EXPECT_EQ(c.GetFixedWidth(), 5);
    EXPECT_EQ(c.GetFixedHeight(), 0) << "an unquoted value ends the list";
    c.ApplyAttributeList(nullptr);
    c.ApplyAttributeList(L"width=\"9");
    EXPECT_EQ(c.GetFixedWidth(), 9) << "an unterminated value still counts";
}

TEST(Builder, ScrollBarDefaultsStyleContainerBars) {
    CPaintManagerUI manager;
    Build(manager,
          "<Window><Default name=\"VScrollBar\" value=\"width=&quot;9&quot; thumbnormalimage=&quot;file='scrollbar.png' "
          "source='0,0,9,20'&quot;\"/><VerticalLayout name=\"v\" vscrollbar=\"true\"/></Window>");
    auto* v = static_cast<CContainerUI*>(manager.FindControl(L"v"));
    ASSERT_NE(v, nullptr);
    ASSERT_NE(v->GetVerticalScrollBar(), nullptr);
    EXPECT_EQ(v->GetVerticalScrollBar()->GetFixedWidth(), 9);
    EXPECT_EQ(v->GetHorizontalScrollBar(), nullptr);
}

TEST(Builder, FindControlByPointSkipsHiddenAndMouseTransparentControls) {
    CPaintManagerUI manager;
    CControlUI* root = Build(manager, kTestLayout);
    ASSERT_NE(root, nullptr);
    root->SetPos({0, 0, 400, 300});   // no window here: lay out by hand

    auto hit = [&](int x, int y) {
        POINT pt{x, y};
        return root->FindControl([](CControlUI* c, void*) { return c; }, &pt,
                                 UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST);
    };
    EXPECT_EQ(hit(385, 15), manager.FindControl(L"btn_close"));
    EXPECT_EQ(hit(50, 15), manager.FindControl(L"caption")) << "mouse=false lets the point through to the parent";
    EXPECT_EQ(hit(200, 15), manager.FindControl(L"spacer"));
    EXPECT_EQ(hit(50, 80), manager.FindControl(L"btn_ok"));
    EXPECT_EQ(hit(150, 80), manager.FindControl(L"btn_off")) << "disabled controls are still found";
    EXPECT_EQ(hit(500, 10), nullptr);

    manager.FindControl(L"btn_ok")->SetVisible(false);
    EXPECT_NE(hit(50, 80), manager.FindControl(L"btn_ok"));
    static_cast<CContainerUI*>(manager.FindControl(L"caption"))->SetMouseChildEnabled(false);
    EXPECT_EQ(hit(385, 15), manager.FindControl(L"caption"));
}

TEST(Builder, MissingOrMalformedLayoutsGiveNull) {
    CPaintManagerUI manager;
    CDialogBuilder builder;
    EXPECT_EQ(Build(manager, "<Window><VerticalLayout><Button></VerticalLayout></Window>", nullptr, &builder), nullptr);
    EXPECT_FALSE(builder.GetLastError().IsEmpty());
    EXPECT_EQ(Build(manager, "<Window size=\"10,10\"><Font name=\"x\" size=\"9\"/></Window>"), nullptr);
    EXPECT_EQ(Build(manager, "<Window><Gadget/></Window>"), nullptr);
    EXPECT_EQ(Build(manager, ""), nullptr);

    UseTestSkin({{"Res/Nested.xml", "<Window><Label name=\"nested\"/></Window>"}});
    EXPECT_EQ(builder.Create(L"Absent.xml", UILIB_ZIPRESOURCE, nullptr, &manager), nullptr);
    EXPECT_FALSE(builder.GetLastError().IsEmpty());
    CControlUI* nested = builder.Create(L"Nested.xml", UILIB_ZIPRESOURCE, nullptr, nullptr, L"Res");
    ASSERT_NE(nested, nullptr) << "folder\\file is tried first";
    EXPECT_EQ(nested->GetName(), L"nested");
    delete nested;
    CControlUI* fromRoot = builder.Create(L"Test.xml", UILIB_ZIPRESOURCE, nullptr, nullptr, L"Res");
    ASSERT_NE(fromRoot, nullptr) << "then the archive root";
    delete fromRoot;
}

TEST(Builder, OptionGroupKeepsOneSelectedAndNotifiesSynchronously) {
    CPaintManagerUI manager;
    CControlUI* root = Build(manager, kTestLayout);
    ASSERT_NE(root, nullptr);
    testsupport::RecordingHost recorder;
    manager.AddNotifier(&recorder);
    auto* a = static_cast<COptionUI*>(manager.FindControl(L"opt_a"));
    auto* b = static_cast<COptionUI*>(manager.FindControl(L"opt_b"));
    ASSERT_TRUE(a && b);
    EXPECT_TRUE(a->IsSelected());
    b->Selected(true);
    EXPECT_TRUE(b->IsSelected());
    EXPECT_FALSE(a->IsSelected());
    EXPECT_EQ(recorder.Seen(), (std::vector<std::wstring>{L"selectchanged:opt_a", L"selectchanged:opt_b"}));
    recorder.notes.clear();
    b->Selected(true);
    EXPECT_TRUE(recorder.Seen().empty()) << "no change, no notification";
    EXPECT_TRUE(b->Activate());
    EXPECT_TRUE(b->IsSelected()) << "activating a grouped option keeps it selected";
    EXPECT_EQ(recorder.Seen(), (std::vector<std::wstring>{L"click:opt_b"}));
    manager.RemoveNotifier(&recorder);
}
