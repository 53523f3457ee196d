// The four windows as built from the real archive: what shows where. Places are
// taken from the laid-out controls, so the tests follow the layouts' geometry.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <algorithm>
#include <cstdlib>

#include "duilib/UIlib.h"
#include "skin/skin_windows.h"
#include "support/pump.h"
#include "support/screenshot.h"

using namespace DuiLib;
using skintest::Layout;
using skintest::SkinWindow;
using testsupport::Shot;

namespace {

constexpr uint32_t kTitleBlue = 0x445B84;
constexpr uint32_t kBody = 0xB2BFD6;
constexpr uint32_t kListBar = 0xA2AFC6;
constexpr uint32_t kBorder = 0x555555;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;

// 0x88000000 over the strip's blue.
constexpr uint32_t Over(uint32_t rgb, int alpha)
{
    auto ch = [&](int shift) { return ((rgb >> shift) & 0xFF) * (255 - alpha) / 255; };
    return (ch(16) << 16) | (ch(8) << 8) | ch(0);
}

bool Near(uint32_t a, uint32_t b, int tolerance = 2)
{
    for (int shift : {0, 8, 16}) {
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
    }
    return true;
}

int Luma(uint32_t rgb) { return (((rgb >> 16) & 0xFF) * 3 + ((rgb >> 8) & 0xFF) * 6 + (rgb & 0xFF)) / 10; }

POINT Centre(const RECT& rc) { return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; }

// The box (right and bottom exclusive) around the pixels of rc that `ink` accepts; empty when none.
template <class Ink>
RECT InkBox(const Shot& shot, const RECT& rc, Ink ink)
{
    RECT box{rc.right, rc.bottom, rc.left, rc.top};
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            if (!ink(shot.At(x, y))) continue;
            box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
                   std::max<LONG>(box.bottom, y + 1)};
        }
    }
    return box;
}

class SkinPixelsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr)); }

    // The window, shown and painted; null when the layout cannot be built.
    SkinWindow* Open(Layout layout)
    {
        m_wnd = skintest::ShowLayout(layout, 20, 20);
        if (m_wnd) testsupport::PumpIdle();
        return m_wnd.get();
    }

    Shot Capture()
    {
        Shot shot;
        EXPECT_TRUE(testsupport::CaptureWindow(m_wnd->GetHWND(), shot));
        return shot;
    }

    const RECT& Pos(const wchar_t* name)
    {
        CControlUI* control = m_wnd->Find(name);
        EXPECT_NE(control, nullptr) << "no control named " << testing::PrintToString(std::wstring(name));
        static const RECT none{};
        return control ? control->GetPos() : none;
    }

    void TearDown() override
    {
        if (m_wnd && ::IsWindow(m_wnd->GetHWND())) ::DestroyWindow(m_wnd->GetHWND());
        m_wnd.reset();
    }

    std::unique_ptr<SkinWindow> m_wnd;
};

TEST_F(SkinPixelsTest, MainWindowChromeHasTheLayoutColours)
{
    ASSERT_NE(Open(Layout::Main), nullptr);
    const Shot shot = Capture();
    ASSERT_EQ(shot.width, 840);
    ASSERT_EQ(shot.height, 600);

    // The title bar's blue in the flexible middle group, clear of its texts.
    const RECT& path = Pos(L"txt_playingpath");
    EXPECT_TRUE(Near(shot.At(path.left - 10, 40), kTitleBlue)) << std::hex << shot.At(path.left - 10, 40);
    // Outer border, then the body between the play region and the list panel.
    EXPECT_TRUE(Near(shot.At(0, 300), kBorder));
    const RECT& split = Pos(L"split_bar");
    EXPECT_TRUE(Near(shot.At(split.left + 1, split.top + 10), kBody));
    EXPECT_TRUE(Near(shot.At(Pos(L"playregion").left, 300), kBorder));
    EXPECT_TRUE(Near(shot.At(Pos(L"listbar").left + 110, Pos(L"listbar").top + 3), kListBar));

    // Control strip: the dimmed first row and the blue second row.
    const RECT& total = Pos(L"txt_totaltime");
    EXPECT_TRUE(Near(shot.At(total.right + 100, total.top + 9), Over(kTitleBlue, 0x88)))
        << std::hex << shot.At(total.right + 100, total.top + 9);
    const RECT& next = Pos(L"btn_next");
    const RECT& mute = Pos(L"btn_mute");
    EXPECT_TRUE(Near(shot.At((next.right + mute.left) / 2, Centre(next).y), kTitleBlue));

    // Faces land where dest puts them: white glyphs on the transport and close buttons, the logo's colours in its box.
    for (const wchar_t* name : {L"btn_stop", L"btn_play", L"btn_close"})
        EXPECT_GT(Luma(shot.At(Centre(Pos(name)))), 200) << testing::PrintToString(std::wstring(name));
    EXPECT_FALSE(Near(shot.At(Centre(Pos(L"hor_logo"))), kTitleBlue, 20));
}

TEST_F(SkinPixelsTest, VideoWindowCentresItsWhiteMessageOnBlack)
{
    ASSERT_NE(Open(Layout::Video), nullptr);
    const Shot shot = Capture();
    ASSERT_EQ(shot.width, 352);
    ASSERT_EQ(shot.height, 288);
    const RECT& label = Pos(L"novideo");
    // The label takes the middle third.
    EXPECT_NEAR(label.top, 288 / 3, 1);
    EXPECT_NEAR(label.bottom, 2 * 288 / 3, 1);

    // Outside the label's rows the window is plain black; inside, the text's ink.
    int white = 0;
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            const uint32_t px = shot.At(x, y);
            if (y < label.top || y >= label.bottom) ASSERT_EQ(px, kBlack) << x << "," << y;
            else white += Luma(px) > 128 && Near(px, kWhite, 8);
        }
    }
    ASSERT_GT(white, 30) << "no white text";
    const RECT ink = InkBox(shot, {0, label.top, shot.width, label.bottom}, [](uint32_t px) { return Luma(px) > 128; });
    // Seven characters, horizontally and vertically centred in the label.
    EXPECT_GT(ink.right - ink.left, 60);
    EXPECT_NEAR((ink.left + ink.right) / 2.0, (label.left + label.right) / 2.0, 2.0);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, (label.top + label.bottom) / 2.0, 2.0);
}

TEST_F(SkinPixelsTest, PlaybarIsAFullWidthStrip)
{
    ASSERT_NE(Open(Layout::Playbar), nullptr);
    const Shot shot = Capture();
    ASSERT_EQ(shot.width, 1024);
    ASSERT_EQ(shot.height, 50);
    const RECT& next = Pos(L"btn_next");
    const RECT& mute = Pos(L"btn_mute");
    EXPECT_TRUE(Near(shot.At((next.right + mute.left) / 2, Centre(next).y), kTitleBlue));
    const RECT& total = Pos(L"txt_totaltime");
    EXPECT_TRUE(Near(shot.At(total.right + 100, total.top + 9), Over(kTitleBlue, 0x88)));
    // The play slider takes the width the two 80-wide times and the 208 blank leave.
    const RECT& slider = Pos(L"slider_play");
    EXPECT_NEAR(slider.right - slider.left, 1024 - 2 - 80 - 80 - 208, 2);
    EXPECT_GT(Luma(shot.At(Centre(Pos(L"btn_play")))), 200);
}

TEST_F(SkinPixelsTest, SettingsWindowTitleBodyAndPreview)
{
    SkinWindow* wnd = Open(Layout::SystemInfo);
    ASSERT_NE(wnd, nullptr);
    const Shot shot = Capture();
    ASSERT_EQ(shot.width, 606);
    ASSERT_EQ(shot.height, 449);
    EXPECT_TRUE(Near(shot.At(30, 20), kTitleBlue)) << std::hex << shot.At(30, 20);
    EXPECT_TRUE(Near(shot.At(30, 430), kBody)) << std::hex << shot.At(30, 430);
    // The title text is white-ish and centred in the window.
    const RECT title = InkBox(shot, {0, 5, shot.width - 60, 36}, [](uint32_t px) { return Luma(px) > 200; });
    ASSERT_GT(title.right, title.left);
    EXPECT_NEAR((title.left + title.right) / 2.0, shot.width / 2.0, 3.0);

    // Shape "无" at start: the preview shows its white background; the drop outline appears once its image is set.
    const RECT& preview = Pos(L"shppreview");
    EXPECT_EQ(preview.right - preview.left, 80);
    int marked = 0;
    for (int y = preview.top; y < preview.bottom; ++y) {
        for (int x = preview.left; x < preview.right; ++x) marked += shot.At(x, y) != kWhite;
    }
    EXPECT_EQ(marked, 0);
    wnd->Find(L"shppreview")->SetBkImage(L"shp\\shuidi.png");
    testsupport::PumpIdle();
    const Shot withDrop = Capture();
    // The drop's point sits at the top centre, narrow; its round body is wide below.
    auto spread = [&](int y) {
        return InkBox(withDrop, {preview.left, y, preview.right, y + 1}, [](uint32_t px) { return Luma(px) < 160; });
    };
    const POINT c = Centre(preview);
    const RECT point = spread(preview.top + 10), body = spread(preview.top + 55);
    ASSERT_GT(point.right, point.left);
    EXPECT_LE(point.right - 1 - point.left, 14);
    EXPECT_NEAR((point.left + point.right - 1) / 2.0, c.x, 2.0);
    EXPECT_GE(body.right - 1 - body.left, 40);
    EXPECT_EQ(withDrop.At(c.x, c.y + 10), kWhite);
}

} // namespace
